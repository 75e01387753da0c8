#version 150
// Lit surface receiving three parallel-split shadow maps.
in vec4 vertex;
in vec3 normal;
in vec2 uv0;

uniform mat4 worldViewProj;
uniform mat4 world;
uniform mat4 worldView;
uniform mat4 texWorldViewProj0;
uniform mat4 texWorldViewProj1;
uniform mat4 texWorldViewProj2;

out vec3 oWorldPos;
out vec3 oNormal;
out vec2 oUv;
out vec4 oLightPos0;
out vec4 oLightPos1;
out vec4 oLightPos2;
out float oViewDepth;

void main() {
  gl_Position = worldViewProj * vertex;
  oWorldPos = (world * vertex).xyz;
  oNormal = mat3(world) * normal;
  oUv = uv0;
  oLightPos0 = texWorldViewProj0 * vertex;
  oLightPos1 = texWorldViewProj1 * vertex;
  oLightPos2 = texWorldViewProj2 * vertex;
  oViewDepth = -(worldView * vertex).z;
}

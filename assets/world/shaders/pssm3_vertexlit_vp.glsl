#version 150
// Lit surface receiving three parallel-split shadow maps, its lighting worked
// out at the vertices: the world's surfaces are flat or gently curved, so the
// sun and sky terms hardly change across a triangle.
in vec4 vertex;
in vec3 normal;
in vec2 uv0;

uniform mat4 worldViewProj;
uniform mat4 world;
uniform mat4 texWorldViewProj0;
uniform mat4 texWorldViewProj1;
uniform mat4 texWorldViewProj2;
uniform vec4 lightPosition;
uniform vec3 cameraPosition;
uniform float shininess;

out vec2 oUv;
out vec4 oLightPos0;
out vec4 oLightPos1;
out vec4 oLightPos2;
// Sun, sky and highlight factors.
out vec3 oLight;

void main() {
  gl_Position = worldViewProj * vertex;
  vec3 worldPos = (world * vertex).xyz;
  vec3 n = normalize(mat3(world) * normal);
  vec3 l = normalize(lightPosition.xyz - worldPos * lightPosition.w);
  vec3 v = normalize(cameraPosition - worldPos);
  float ndl = max(dot(n, l), 0.0);
  float highlight = ndl > 0.0 ? pow(max(dot(n, normalize(l + v)), 0.0), max(shininess, 1.0)) : 0.0;
  oLight = vec3(ndl, 0.8 + 0.2 * n.y, highlight);
  oUv = uv0;
  oLightPos0 = texWorldViewProj0 * vertex;
  oLightPos1 = texWorldViewProj1 * vertex;
  oLightPos2 = texWorldViewProj2 * vertex;
}

#version 150
// Lit surface without shadows: previews, wheels, the trailer, and every
// material before the game gives it its shadow-receiving variant.
in vec4 vertex;
in vec3 normal;
in vec2 uv0;

uniform mat4 worldViewProj;
uniform mat4 world;

out vec3 oWorldPos;
out vec3 oNormal;
out vec2 oUv;

void main() {
  gl_Position = worldViewProj * vertex;
  oWorldPos = (world * vertex).xyz;
  oNormal = mat3(world) * normal;
  oUv = uv0;
}

#version 150
in vec4 vertex;
in vec2 uv0;
uniform mat4 worldViewProj;
out vec2 oUv;
out float oHeight;
void main() {
  gl_Position = worldViewProj * vertex;
  oUv = uv0;
  oHeight = normalize(vertex.xyz).y;
}

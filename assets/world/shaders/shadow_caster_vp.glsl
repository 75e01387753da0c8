#version 150
// Depth of the caster in the light's clip space, for the float shadow maps.
in vec4 vertex;
uniform mat4 worldViewProj;
out vec2 oDepth;
void main() {
  gl_Position = worldViewProj * vertex;
  oDepth = gl_Position.zw;
}

#version 150
in vec2 oDepth;
out vec4 fragColour;
void main() {
  float depth = oDepth.x / oDepth.y;
  fragColour = vec4(depth, depth, depth, 1.0);
}

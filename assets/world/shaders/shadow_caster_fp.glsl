#version 150
in vec2 oDepth;
out vec4 fragColour;
void main() {
  // Window depth, 0 to 1, as a depth map holds it, for colour maps too.
  float depth = 0.5 * oDepth.x / oDepth.y + 0.5;
  fragColour = vec4(depth, depth, depth, 1.0);
}

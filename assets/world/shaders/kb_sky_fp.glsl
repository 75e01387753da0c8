#version 150
in vec2 oUv;
in float oHeight;
uniform sampler2D skyMap;
out vec4 fragColour;
void main() {
  // Blue overhead fading to haze at the horizon, clouds from the texture.
  vec3 zenith = vec3(0.28, 0.5, 0.85);
  vec3 horizon = vec3(0.78, 0.85, 0.92);
  float h = clamp(oHeight, 0.0, 1.0);
  vec3 sky = mix(horizon, zenith, pow(h, 0.6));
  float cloud = texture(skyMap, oUv).r * smoothstep(0.0, 0.25, h);
  fragColour = vec4(mix(sky, vec3(1.0), cloud * 0.85), 1.0);
}

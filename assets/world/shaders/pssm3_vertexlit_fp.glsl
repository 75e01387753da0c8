#version 150
#extension GL_ARB_texture_gather : require
// The first split a receiver's pixels can fall in: the render core builds a
// program for each and picks it per object by the object's nearest view depth.
#ifndef FIRST_SPLIT
#define FIRST_SPLIT 0
#endif
in vec2 oUv;
in vec4 oLightPos0;
in vec4 oLightPos1;
in vec4 oLightPos2;
in vec3 oLight;

uniform sampler2D diffuseMap;
uniform sampler2D shadowMap0;
uniform sampler2D shadowMap1;
uniform sampler2D shadowMap2;
// Near plane, first split, second split, far distance.
uniform vec4 pssmSplitPoints;
uniform vec4 lightDiffuse;
uniform vec4 lightSpecular;
uniform vec4 ambient;
uniform vec4 surfaceDiffuse;
uniform vec4 surfaceSpecular;
uniform vec4 surfaceEmissive;
uniform float depthBias;

out vec4 fragColour;

// The four comparisons of the per-pixel receiver in one fetch: a gather returns
// the 2 x 2 texels that its four point taps half a texel around c read.
// Outside the map the units' white border reads as the far plane, so a point
// there is lit without a test of its own: the renderer runs every split's
// look-up for every pixel, and the test cost about 1 ms a frame.
float lit(sampler2D map, vec4 lightPos, float bias) {
  vec3 c = lightPos.xyz / lightPos.w;
  // The maps hold window depth, 0 to 1; c.z is the light's clip depth, -1 to 1.
  float depth = min(0.5 * (c.z - bias) + 0.5, 1.0);
  return dot(step(vec4(depth), textureGather(map, c.xy)), vec4(0.25));
}

void main() {
  vec4 tex = texture(diffuseMap, oUv);
  vec3 albedo = tex.rgb * surfaceDiffuse.rgb;
  float ndl = oLight.x;
  // The distance along the view axis, as 1/w of a perspective projection.
  float viewDepth = 1.0 / gl_FragCoord.w;

  float shadow = 1.0;
  if (ndl > 0.0 && viewDepth < pssmSplitPoints.w) {
    // Steeper surfaces need more bias; the far splits have coarser texels.
    float slope = 1.0 + 2.0 * (1.0 - ndl);
#if FIRST_SPLIT == 0
    if (viewDepth <= pssmSplitPoints.y) {
      shadow = lit(shadowMap0, oLightPos0, depthBias * slope);
    } else
#endif
#if FIRST_SPLIT <= 1
    if (viewDepth <= pssmSplitPoints.z) {
      shadow = lit(shadowMap1, oLightPos1, depthBias * 2.0 * slope);
    } else
#endif
    {
      shadow = lit(shadowMap2, oLightPos2, depthBias * 4.0 * slope);
    }
  }

  vec3 colour = albedo * (ambient.rgb * oLight.y + lightDiffuse.rgb * ndl * shadow) +
                surfaceSpecular.rgb * lightSpecular.rgb * oLight.z * shadow + surfaceEmissive.rgb;
  fragColour = vec4(colour, tex.a * surfaceDiffuse.a);
}

#version 150
in vec3 oWorldPos;
in vec3 oNormal;
in vec2 oUv;
in vec4 oLightPos0;
in vec4 oLightPos1;
in vec4 oLightPos2;
in float oViewDepth;

uniform sampler2D diffuseMap;
uniform sampler2D shadowMap0;
uniform sampler2D shadowMap1;
uniform sampler2D shadowMap2;
// Near plane, first split, second split, far distance.
uniform vec4 pssmSplitPoints;
uniform vec4 lightPosition;
uniform vec4 lightDiffuse;
uniform vec4 lightSpecular;
uniform vec4 ambient;
uniform vec4 surfaceDiffuse;
uniform vec4 surfaceSpecular;
uniform vec4 surfaceEmissive;
uniform float shininess;
uniform vec3 cameraPosition;
uniform float depthBias;

out vec4 fragColour;

float lit(sampler2D map, vec4 lightPos, float bias) {
  vec3 c = lightPos.xyz / lightPos.w;
  if (c.x <= 0.0 || c.x >= 1.0 || c.y <= 0.0 || c.y >= 1.0) return 1.0;
  vec2 texel = 1.0 / vec2(textureSize(map, 0));
  // The maps hold window depth, 0 to 1; c.z is the light's clip depth, -1 to 1.
  float depth = 0.5 * (c.z - bias) + 0.5;
  float sum = 0.0;
  for (int i = 0; i < 4; ++i) {
    vec2 offset = vec2(float(i % 2) - 0.5, float(i / 2) - 0.5) * texel;
    sum += (depth <= texture(map, c.xy + offset).r) ? 1.0 : 0.0;
  }
  return sum * 0.25;
}

void main() {
  vec3 n = normalize(oNormal);
  vec3 l = normalize(lightPosition.xyz - oWorldPos * lightPosition.w);
  vec3 v = normalize(cameraPosition - oWorldPos);
  vec4 tex = texture(diffuseMap, oUv);
  vec3 albedo = tex.rgb * surfaceDiffuse.rgb;
  float ndl = max(dot(n, l), 0.0);

  float shadow = 1.0;
  if (ndl > 0.0 && oViewDepth < pssmSplitPoints.w) {
    // Steeper surfaces need more bias; the far splits have coarser texels.
    float slope = 1.0 + 2.0 * (1.0 - ndl);
    if (oViewDepth <= pssmSplitPoints.y) {
      shadow = lit(shadowMap0, oLightPos0, depthBias * slope);
    } else if (oViewDepth <= pssmSplitPoints.z) {
      shadow = lit(shadowMap1, oLightPos1, depthBias * 2.0 * slope);
    } else {
      shadow = lit(shadowMap2, oLightPos2, depthBias * 4.0 * slope);
    }
  }

  float specularTerm = ndl > 0.0 ? pow(max(dot(n, normalize(l + v)), 0.0), max(shininess, 1.0)) : 0.0;
  vec3 sky = ambient.rgb * (0.8 + 0.2 * n.y);
  vec3 colour = albedo * (sky + lightDiffuse.rgb * ndl * shadow) +
                surfaceSpecular.rgb * lightSpecular.rgb * specularTerm * shadow + surfaceEmissive.rgb;
  fragColour = vec4(colour, tex.a * surfaceDiffuse.a);
}

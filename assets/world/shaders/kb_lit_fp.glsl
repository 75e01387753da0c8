#version 150
in vec3 oWorldPos;
in vec3 oNormal;
in vec2 oUv;

uniform sampler2D diffuseMap;
uniform vec4 lightPosition;
uniform vec4 lightDiffuse;
uniform vec4 lightSpecular;
uniform vec4 ambient;
uniform vec4 surfaceDiffuse;
uniform vec4 surfaceSpecular;
uniform vec4 surfaceEmissive;
uniform float shininess;
uniform vec3 cameraPosition;

out vec4 fragColour;

void main() {
  vec3 n = normalize(oNormal);
  // Directional lights give (-direction, 0), point lights their position.
  vec3 l = normalize(lightPosition.xyz - oWorldPos * lightPosition.w);
  vec3 v = normalize(cameraPosition - oWorldPos);
  vec4 tex = texture(diffuseMap, oUv);
  vec3 albedo = tex.rgb * surfaceDiffuse.rgb;
  float ndl = max(dot(n, l), 0.0);
  float specularTerm = ndl > 0.0 ? pow(max(dot(n, normalize(l + v)), 0.0), max(shininess, 1.0)) : 0.0;
  vec3 sky = ambient.rgb * (0.8 + 0.2 * n.y);
  vec3 colour = albedo * (sky + lightDiffuse.rgb * ndl) + surfaceSpecular.rgb * lightSpecular.rgb * specularTerm +
                surfaceEmissive.rgb;
  fragColour = vec4(colour, tex.a * surfaceDiffuse.a);
}

#version 150

uniform sampler2D sampleTexture;

in vec2 vUV;
in vec4 vColour;

out vec4 fragColour;

void main()
{
	fragColour = vColour * texture(sampleTexture, vUV);
}

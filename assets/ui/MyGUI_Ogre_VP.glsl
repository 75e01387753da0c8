#version 150

// GUI vertices: screen-space quads with texture coordinates and a colour.
in vec4 position;
in vec4 uv0;
in vec4 colour;

uniform mat4 worldViewProj;

out vec2 vUV;
out vec4 vColour;

void main()
{
	gl_Position = worldViewProj * position;
	vUV = uv0.xy;
	vColour = colour;
}

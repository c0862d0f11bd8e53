#include "views/MeshShaders3D.h"

const char* const kMeshVertexShader3D = R"(#version 330 core
layout(location = 0) in vec3 aPosition;
layout(location = 1) in vec2 aTexCoord;
layout(location = 2) in vec4 aColor;
layout(location = 3) in vec3 aNormal;

uniform mat4 uObjects;
uniform mat4 uViewProjection;
uniform bool uLighting;
uniform vec3 uAmbient;
uniform vec3 uLightDirection[2];
uniform vec3 uLightColor[2];

out vec2 vTexCoord;
flat out vec4 vColor;

void main() {
    vec4 scenePosition = uObjects * vec4(aPosition, 1.0);
    gl_Position = uViewProjection * scenePosition;
    vec3 color = aColor.rgb;
    if (uLighting) {
        vec3 normal = mat3(uObjects) * aNormal;
        float len = length(normal);
        normal = len > 0.0 ? normal / len : normal;
        vec3 light = uAmbient;
        for (int i = 0; i < 2; ++i) {
            light += uLightColor[i] * max(dot(normal, -uLightDirection[i]), 0.0);
        }
        color *= min(light, vec3(1.0));
    }
    vColor = vec4(color, 1.0);
    vTexCoord = aTexCoord;
}
)";

const char* const kMeshFragmentShader3D = R"(#version 330 core
in vec2 vTexCoord;
flat in vec4 vColor;

uniform sampler2D uTexture;

out vec4 fragColor;

void main() {
    fragColor = vColor * texture(uTexture, vTexCoord);
}
)";

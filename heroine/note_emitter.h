#pragma once
// The notes that rise from the audio system while it plays: each sways
// sideways, rises, grows and fades in, and fades out when its life is over.
#include <cstdint>
#include <vector>

#include "engine/backend/video.h"
#include "engine/media/gui_image.h"
#include "engine/platform/blinker.h"
#include "engine/platform/geometry.h"

struct CNoteParticle {
    // Which of the emitter's pictures it shows.
    std::int32_t templateIndex = -1;
    std::int32_t image = -1;
    // Top-left of the picture.
    float x = 0.0f;
    float y = 0.0f;
    // Only directionY moves it (times the speed); directionX is kept.
    float directionX = 0.0f;
    float directionY = 0.0f;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    backend::Rect source;
    // Seconds before the fade-out.
    float life = 0.0f;
    float speed = 0.0f;
    float scale1 = 1.0f;
    float scale2 = 1.0f;
    float alpha = 255.0f;
    CBlinker sway;
};

class CNoteEmitter {
public:
    static constexpr int PICTURES = 5;
    // Alpha units per second of the fade in and out.
    static constexpr float FADE_SPEED = 500.0f;

    // Removes every note and sets up the birthplace, the motion and the
    // pictures. Every note of the emitter sways at one speed drawn here.
    void Setup(float x, float y, float directionX, float directionY, float speed, float interval,
               float scale1, float scale2, float life);
    // The first argument is not read.
    void Update(Vec2 screenScale, float elapsed);
    void Render(backend::IRenderDevice* device, Vec2 screenScale);

    const std::vector<CNoteParticle>& GetParticles() const { return m_particles; }

    // Notes are born only while it is set.
    bool on = false;

private:
    CGuiImage m_templates[PICTURES];
    CNoteParticle m_particle;
    std::vector<CNoteParticle> m_particles;
    Vec2 m_position;
    float m_interval = 0.0f;
    float m_emitTimer = 0.0f;
};

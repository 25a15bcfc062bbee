#include "heroine/note_emitter.h"

#include <algorithm>

#include "engine/backend/clock.h"
#include "engine/media/resource_manager.h"
#include "engine/platform/random_float.h"

namespace {

constexpr backend::Rect NOTE_PICTURES[CNoteEmitter::PICTURES] = {
    {236, 87, 260, 124},  {261, 86, 299, 128},  {300, 75, 326, 109},
    {235, 125, 256, 162}, {256, 128, 276, 163},
};

// A fresh draw of the game's generator, reseeded from the millisecond clock.
int FreshRandom() {
    SeedRandom(static_cast<std::uint32_t>(backend::Clock().Milliseconds()));
    return NextRandom();
}

}  // namespace

void CNoteEmitter::Setup(float x, float y, float directionX, float directionY, float speed,
                         float interval, float scale1, float scale2, float life) {
    m_particles.clear();
    m_position = {x, y};
    m_interval = interval;
    m_emitTimer = 0.0f;
    on = false;
    for (int i = 0; i < PICTURES; ++i) {
        GuiImageDesc desc;
        desc.imageId = "GUI";
        desc.left = NOTE_PICTURES[i].left;
        desc.top = NOTE_PICTURES[i].top;
        desc.right = NOTE_PICTURES[i].right;
        desc.bottom = NOTE_PICTURES[i].bottom;
        m_templates[i].Create(desc);
    }
    m_particle = CNoteParticle();
    m_particle.x = x;
    m_particle.y = y;
    m_particle.directionX = directionX;
    m_particle.directionY = directionY;
    m_particle.speed = speed;
    m_particle.scale1 = scale1;
    m_particle.scale2 = scale2;
    m_particle.life = life;
    m_particle.alpha = 0.0f;
    const float swaySpeed = 2.0f + static_cast<float>(FreshRandom()) / RANDOM_MAX;
    m_particle.sway.Set(-1.0f, 1.0f, 0.0f, swaySpeed, 1);
}

void CNoteEmitter::Update(Vec2 /*screenScale*/, float elapsed) {
    if (on) {
        m_emitTimer += elapsed;
        if (m_emitTimer >= m_interval) {
            m_emitTimer = 0.0f;
            CNoteParticle note = m_particle;
            note.templateIndex = FreshRandom() % PICTURES;
            note.image = m_templates[note.templateIndex].image;
            note.source = m_templates[note.templateIndex].source;
            m_particles.push_back(note);
        }
    }
    const float templateLife = m_particle.life;
    for (CNoteParticle& note : m_particles) {
        note.sway.Update(elapsed);
        note.x += note.sway.value * note.speed * elapsed;
        note.y += note.directionY * note.speed * elapsed;
        note.life -= elapsed;
        if (templateLife != 0.0f) {
            // Small at birth, growing to scale1 as its life runs out.
            const float scale =
                note.scale1 + (note.scale1 - note.scale2) * note.life / templateLife;
            note.scaleX = scale;
            note.scaleY = scale;
        }
    }
    // A note whose life had ended and that was already faded out goes.
    std::erase_if(m_particles, [](const CNoteParticle& note) {
        return note.life <= 0.0f && note.alpha <= 0.0f;
    });
    for (CNoteParticle& note : m_particles) {
        if (note.life > 0.0f) {
            note.alpha = std::min(255.0f, note.alpha + FADE_SPEED * elapsed);
        } else {
            note.alpha = std::max(0.0f, note.alpha - FADE_SPEED * elapsed);
        }
    }
}

void CNoteEmitter::Render(backend::IRenderDevice* /*device*/, Vec2 screenScale) {
    for (const CNoteParticle& note : m_particles) {
        const Vec2 scaling = {note.scaleX * screenScale.x, note.scaleY * screenScale.y};
        const std::uint32_t colour = (static_cast<std::uint32_t>(note.alpha) << 24) | 0xFFFFFF;
        ResourceManager::Instance().DrawImage(note.image, &note.source, &scaling, nullptr, 0.0f,
                                              {note.x * screenScale.x, note.y * screenScale.y},
                                              colour);
    }
}

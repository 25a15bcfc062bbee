#include "engine/media/sound_manager.h"

#include "engine/backend/audio.h"

CSoundManager::CSoundManager() = default;

bool CSoundManager::PauseOutput() { return backend::Audio().PauseOutput(); }

bool CSoundManager::ResumeOutput() { return backend::Audio().ResumeOutput(); }

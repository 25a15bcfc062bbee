#pragma once
// The process-wide owner of all media: the resource lists of resources.xml, the
// sprite drawing, the screen scale and the sound manager.
#include <loki/Singleton.h>

#include "engine/media/sound_manager.h"

class CResourceManager {
public:
    CResourceManager();
    ~CResourceManager();
    CResourceManager(const CResourceManager&) = delete;
    CResourceManager& operator=(const CResourceManager&) = delete;

    CSoundManager& GetSoundManager() { return m_soundManager; }

private:
    CSoundManager m_soundManager;
};

inline unsigned int GetLongevity(CResourceManager*) { return 7; }

using ResourceManager = Loki::SingletonHolder<CResourceManager, Loki::CreateStatic,
                                              Loki::SingletonWithLongevity, Loki::SingleThreaded>;

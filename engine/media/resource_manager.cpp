#include "engine/media/resource_manager.h"

CResourceManager::CResourceManager() = default;

CResourceManager::~CResourceManager() = default;

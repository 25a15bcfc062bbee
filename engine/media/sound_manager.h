#pragma once
// The one sound player of the program, living inside the resource manager.
// Sounds are addressed by their type and their position among the resources of
// that kind.

class CSoundManager {
public:
    CSoundManager();

    // Pauses and resumes every sound output at once; the framework calls them
    // when its pause counter leaves and returns to zero.
    bool PauseOutput();
    bool ResumeOutput();
};

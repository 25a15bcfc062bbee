#pragma once
// The table of the best scores, kept in high_scores.sav.
#include <string>

class CHighScores {
public:
    // Reads the score records of the file; without one the default rows.
    void Load(const std::string& /*path*/) {}
};

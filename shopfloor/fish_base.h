#pragma once
// The fish kinds of fishes.xml: one prototype per Fish element, from which
// every live fish is copied, and the order time and interior a customer order
// of a kind asks for.
#include <cstdint>
#include <string>
#include <vector>

#include "shopfloor/item_codes.h"

class CFish;

// The parameters of one kind that every fish carries, with the live counters
// of its wishes and its swimming kept beside them.
struct FishType {
    float waitingTime = 0.0f;
    float timeBetweenRequests = 0.0f;
    float wishCountdown = 1.0f;         // live
    std::int32_t wishesMade = 0;        // live
    float swimTimer = 0.0f;             // live
    std::int32_t behaviourCounter = 2;  // live
    float finalCost = 0.0f;
    float penaltyPercent = 0.0f;
    float vitaminPercent = 0.0f;
    float extraPercentPer15 = 0.0f;
    std::vector<std::int32_t> feedTypes;
    float growthPercent = 0.0f;
    float feedWaitingTime = 0.0f;
    std::int32_t interiorGround = 0;
    std::int32_t interiorAlgae = 0;
    std::int32_t interiorHouse = 0;
    std::int32_t interiorCoral = 0;
    float interiorWaitingTime = 0.0f;
    std::uint32_t interiorConst = 0;
    float interiorConstWaitingTime = 0.0f;
    std::vector<std::int32_t> brushes;
    float dirtProbabilityPercent = 0.0f;
    std::int32_t dirtLimit = 0;
    std::int32_t dirtWishes = 0;  // live
    float dirtWaitingTime = 0.0f;
    std::vector<std::int32_t> medicines;
    float illnessProbabilityPercent = 0.0f;
    std::int32_t illnessLimit = 0;
    std::int32_t illnessWishes = 0;  // live
    float illnessWaitingTime = 0.0f;
    std::int32_t bonusType = 0;
    std::int32_t bonusCost = 0;
    std::int32_t bonusLimit = 0;
    std::int32_t bonusGrowthStage = 0;
    float bonusTimeGeneration = 0.0f;
};

// One Fish element: the four values a fish keeps in its head, and the rest.
struct FishPrototype {
    FishKind kind = FISH_NONE;
    std::int32_t nameText = -1;
    // The switch states wanted: 1 on, 0 off, -1 either.
    std::int32_t lamp = 0;
    std::int32_t compressor = 0;
    FishType type;
};

inline constexpr char FISHES_PATH[] = "Resources/Data/fishes.xml";

class CFishBase {
public:
    // Waiting for an interior is never shorter than nothing: a file that says
    // 0 (or nothing) means this.
    static constexpr float DEFAULT_INTERIOR_WAIT = 90.0f;

    CFishBase() = default;
    ~CFishBase() { m_prototypes.clear(); }
    CFishBase(const CFishBase&) = delete;
    CFishBase& operator=(const CFishBase&) = delete;

    // Reads fishes.xml, replacing what was read before; the number of Fish
    // elements, 0 when the file does not open.
    std::int32_t Load() { return Load(FISHES_PATH); }
    std::int32_t Load(const std::string& path);

    // A young fish of the kind placed in the aquarium at (x, y): a copy of the
    // kind's first prototype, or a fish with default parameters when there is
    // none.
    CFish CreateFish(std::int32_t kind, float x, float y, bool computerOrder) const;
    // Seconds per ordered fish; 0 for a kind without prototype.
    float GetWaitingTime(std::int32_t kind) const;
    // The interior bits the kind wants; 0 for a kind without prototype.
    std::uint32_t GetInteriorConst(std::int32_t kind) const;

    std::int32_t GetCount() const { return m_count; }
    const std::vector<FishPrototype>& GetPrototypes() const { return m_prototypes; }
    // The first prototype of the kind in file order, or null.
    const FishPrototype* Find(std::int32_t kind) const;

private:
    std::int32_t m_count = 0;
    std::vector<FishPrototype> m_prototypes;
};

// Every fish kind of fishes.xml. One for the whole game, defined in game/globals.cpp.
extern CFishBase g_fishBase;

#include "shopfloor/fish_base.h"

#include "engine/platform/html_log.h"
#include "engine/platform/text_storage.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"
#include "shopfloor/fish.h"

namespace {

void ReadFishHead(XmlNode& node, FishPrototype& prototype) {
    const std::string& name = node.attributes["name"];
    prototype.nameText = TextStorage().FindIndex(name);
    prototype.kind = FishKindFromName(node.attributes["type"]);
    ParseInt(node.attributes["lamp"], &prototype.lamp);
    ParseInt(node.attributes["compressor"], &prototype.compressor);
    ParseFloat(node.attributes["time_between_requests"], &prototype.type.timeBetweenRequests);
    ParseFloat(node.attributes["waiting_time"], &prototype.type.waitingTime);
}

// An interior name counts only in its own category: a ground named under
// algae adds nothing.
void AddInteriorItem(const std::string& name, std::uint32_t category, std::uint32_t& bits) {
    const std::uint32_t item = InteriorItemFromName(name);
    if ((item & category) != 0) {
        bits |= item;
    }
}

void ReadFishPart(XmlNode& node, FishType& type) {
    auto& a = node.attributes;
    if (node.name == "Sell") {
        ParseFloat(a["final_cost"], &type.finalCost);
        ParseFloat(a["penalty_percent"], &type.penaltyPercent);
        ParseFloat(a["extra_percent_per_1_5"], &type.extraPercentPer15);
        ParseFloat(a["vitamin_percent"], &type.vitaminPercent);
    } else if (node.name == "Interior") {
        ParseInt(a["ground"], &type.interiorGround);
        ParseInt(a["algae"], &type.interiorAlgae);
        ParseInt(a["house"], &type.interiorHouse);
        ParseInt(a["coral"], &type.interiorCoral);
        ParseFloat(a["waiting_time"], &type.interiorWaitingTime);
    } else if (node.name == "InteriorConst") {
        AddInteriorItem(a["ground"], MASK_GROUND, type.interiorConst);
        AddInteriorItem(a["algae"], MASK_ALGAE, type.interiorConst);
        AddInteriorItem(a["house"], MASK_HOUSE, type.interiorConst);
        AddInteriorItem(a["coral"], MASK_CORAL, type.interiorConst);
        ParseFloat(a["waiting_time"], &type.interiorConstWaitingTime);
    } else if (node.name == "Feed") {
        SplitToInts(a["types"], ",", &type.feedTypes);
        ParseFloat(a["growth_percent"], &type.growthPercent);
        ParseFloat(a["waiting_time"], &type.feedWaitingTime);
    } else if (node.name == "DirtRetention") {
        SplitToInts(a["brushes"], ",", &type.brushes);
        ParseFloat(a["probability_percent"], &type.dirtProbabilityPercent);
        ParseInt(a["limit"], &type.dirtLimit);
        ParseFloat(a["waiting_time"], &type.dirtWaitingTime);
    } else if (node.name == "Morbidity") {
        SplitToInts(a["medicines"], ",", &type.medicines);
        ParseFloat(a["probability_percent"], &type.illnessProbabilityPercent);
        ParseInt(a["limit"], &type.illnessLimit);
        ParseFloat(a["waiting_time"], &type.illnessWaitingTime);
    } else if (node.name == "Bonus") {
        ParseInt(a["type"], &type.bonusType);
        ParseInt(a["cost"], &type.bonusCost);
        ParseInt(a["limit"], &type.bonusLimit);
        ParseInt(a["growth_stage"], &type.bonusGrowthStage);
        ParseFloat(a["time_generation"], &type.bonusTimeGeneration);
    }
}

// Every kind wants at least a ground and an algae, and waits for its interior.
void ApplyEndDefaults(FishType& type) {
    if (type.interiorConstWaitingTime == 0.0f) {
        type.interiorConstWaitingTime = CFishBase::DEFAULT_INTERIOR_WAIT;
    }
    if ((type.interiorConst & MASK_GROUND) == 0) {
        type.interiorConst |= ROCK;
    }
    if ((type.interiorConst & MASK_ALGAE) == 0) {
        type.interiorConst |= GREEN_GRASS;
    }
}

}  // namespace

std::int32_t CFishBase::Load(const std::string& path) {
    m_count = 0;
    m_prototypes.clear();
    HtmlLog().Write("Blue", "Initializing fish base");
    CXmlReader reader;
    if (!reader.Open(path)) {
        HtmlLog().Write("Red", "Couldn't open fish base (%s)", path.c_str());
        return 0;
    }
    // Nesting is not checked: every part element fills the prototype of the
    // last Fish start element, or a default one that the next Fish discards.
    FishPrototype prototype;
    XmlNode node;
    while (reader.Read(node)) {
        if (node.type == XML_START_ELEMENT) {
            if (node.name == "Fish") {
                prototype = FishPrototype();
                ReadFishHead(node, prototype);
            } else {
                ReadFishPart(node, prototype.type);
            }
        } else if (node.type == XML_END_ELEMENT && node.name == "Fish") {
            ApplyEndDefaults(prototype.type);
            m_prototypes.push_back(prototype);
            ++m_count;
        }
    }
    HtmlLog().Write("Green", "Initialization is completed (%i)", m_count);
    return m_count;
}

const FishPrototype* CFishBase::Find(std::int32_t kind) const {
    // A Fish of an unknown type is kept and counted but never found.
    if (kind == FISH_NONE) {
        return nullptr;
    }
    for (const FishPrototype& prototype : m_prototypes) {
        if (prototype.kind == kind) {
            return &prototype;
        }
    }
    return nullptr;
}

float CFishBase::GetWaitingTime(std::int32_t kind) const {
    const FishPrototype* prototype = Find(kind);
    return prototype != nullptr ? prototype->type.waitingTime : 0.0f;
}

std::uint32_t CFishBase::GetInteriorConst(std::int32_t kind) const {
    const FishPrototype* prototype = Find(kind);
    return prototype != nullptr ? prototype->type.interiorConst : 0u;
}

CFish CFishBase::CreateFish(std::int32_t kind, float x, float y, bool computerOrder) const {
    CFish fish;
    if (const FishPrototype* prototype = Find(kind)) {
        fish.nameText = prototype->nameText;
        fish.lamp = prototype->lamp;
        fish.compressor = prototype->compressor;
        fish.type = prototype->type;
    }
    fish.kind = kind;
    fish.stage = 0;
    fish.bubbleX = x;
    fish.bubbleY = y;
    fish.computerOrder = computerOrder;
    fish.Dress(x, y);
    return fish;
}

#include "game/upgrade_table.h"

#include <iterator>

#include "engine/platform/html_log.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

// What one element of upgrades.xml fills. An element with levels reads
// "cost_1", "cost_2", ... into its rows, one per level, and no suffix beyond
// its last level; one without reads "cost" (and "max") into its single row.
struct UpgradeElement {
    const char* name;
    std::int32_t firstRow;
    std::int32_t levels;  // 0: a single row without suffixes
    bool speed;
    bool effect;
    bool times;  // work_time and charging_time
    bool max;
};

const UpgradeElement UPGRADE_ELEMENTS[] = {
    {"Footwear", UPGRADE_ROW_FOOTWEAR, 3, true, false, false, false},
    {"PetAquarium", UPGRADE_ROW_PET_AQUARIUM, 6, false, true, false, false},
    {"Aquarium", UPGRADE_ROW_AQUARIUM, 4, false, true, false, false},
    {"Machine", UPGRADE_ROW_MACHINE, 3, false, false, true, false},
    {"AudioSystem", UPGRADE_ROW_AUDIO_SYSTEM, 3, false, true, true, false},
    {"Computer", UPGRADE_ROW_COMPUTER, 0, false, false, false, false},
    {"VitaminCost", UPGRADE_ROW_VITAMIN_COST, 0, false, false, false, true},
    {"VitaminGrowth", UPGRADE_ROW_VITAMIN_GROWTH, 0, false, false, false, true},
};

void ReadLevel(XmlNode& node, const UpgradeElement& element, const std::string& suffix,
               UpgradeRecord& row) {
    ParseInt(node.attributes["cost" + suffix], &row.cost);
    if (element.speed) {
        ParseFloat(node.attributes["speed" + suffix], &row.speed);
    }
    if (element.effect) {
        ParseFloat(node.attributes["effect" + suffix], &row.effect);
    }
    if (element.times) {
        ParseFloat(node.attributes["work_time" + suffix], &row.work_time);
        ParseFloat(node.attributes["charging_time" + suffix], &row.charging_time);
    }
    if (element.max) {
        ParseInt(node.attributes["max" + suffix], &row.max);
    }
}

}  // namespace

void UpgradeTable::Clear() {
    m_rows.fill(UpgradeRecord{});
}

const UpgradeRecord& UpgradeTable::Row(std::int32_t index) const {
    static const UpgradeRecord ZERO_ROW{};
    if (index < 0 || index >= UPGRADE_ROW_COUNT) {
        return ZERO_ROW;
    }
    return m_rows[static_cast<std::size_t>(index)];
}

bool UpgradeTable::Load(const std::string& path) {
    Clear();
    HtmlLog().Write("Blue", "Initializing upgrades data");
    CXmlReader reader;
    if (!reader.Open(path)) {
        HtmlLog().Write("Red", "Couldn't open upgrades data (%s)", path.c_str());
        return false;
    }
    XmlNode node;
    while (reader.Read(node)) {
        if (node.type != XML_START_ELEMENT) {
            continue;
        }
        for (const UpgradeElement& element : UPGRADE_ELEMENTS) {
            if (node.name != element.name) {
                continue;
            }
            if (element.levels == 0) {
                ReadLevel(node, element, "", m_rows[element.firstRow]);
            }
            for (std::int32_t level = 1; level <= element.levels; ++level) {
                ReadLevel(node, element, "_" + std::to_string(level),
                          m_rows[element.firstRow + level - 1]);
            }
        }
    }
    HtmlLog().Write("Green", "Initialization is completed");
    return true;
}

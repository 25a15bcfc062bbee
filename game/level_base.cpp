#include "game/level_base.h"

#include <algorithm>

#include "engine/platform/html_log.h"
#include "engine/platform/value_parsers.h"
#include "engine/platform/xml_reader.h"

namespace {

// Setup values carry from one level to the next in a record of their own;
// before the first Setup they are those of a missing level, so a file that
// leaves one out still gives playable levels.
void ReadSetup(XmlNode& node, CLevelRecord& carried) {
    ParseInt(node.attributes["location"], &carried.location);
    ParseInt(node.attributes["location_level"], &carried.location_level);
    ParseInt(node.attributes["food_types"], &carried.food_types);
    ParseInt(node.attributes["brush_types"], &carried.brush_types);
    ParseInt(node.attributes["medic_types"], &carried.medic_types);
    ParseInt(node.attributes["machine_ingridients"], &carried.machine_ingridients);
    ParseInt(node.attributes["base_aquariums"], &carried.base_aquariums);
    // The shop floor has pictures and slot layouts for three locations only;
    // any other would leave the level without a floor.
    if (carried.location < FIRST_LOCATION || carried.location > LAST_LOCATION) {
        const std::int32_t clamped = std::clamp(carried.location, FIRST_LOCATION, LAST_LOCATION);
        HtmlLog().Write("Red", "Level location %i is out of range, %i is used", carried.location,
                        clamped);
        carried.location = clamped;
    }
}

void CopySetup(const CLevelRecord& carried, CLevelRecord& level) {
    level.location = carried.location;
    level.location_level = carried.location_level;
    level.food_types = carried.food_types;
    level.brush_types = carried.brush_types;
    level.medic_types = carried.medic_types;
    level.machine_ingridients = carried.machine_ingridients;
    level.base_aquariums = carried.base_aquariums;
}

bool IsLevelElement(const std::string& name) {
    return name == "Level" || name == "BonusLevel";
}

CLevelTask ReadTask(XmlNode& node) {
    CLevelTask task;
    task.kind = FishKindFromName(node.attributes["fish_type"]);
    ParseInt(node.attributes["amount"], &task.amount);
    ParseFloat(node.attributes["creation_time"], &task.creation_time);
    task.computer_order = node.name == "BonusTask";
    return task;
}

CLevelEnemy ReadEnemy(XmlNode& node) {
    CLevelEnemy enemy;
    ParseInt(node.attributes["type"], &enemy.kind);
    ParseInt(node.attributes["path"], &enemy.path);
    ParseFloat(node.attributes["speed"], &enemy.speed);
    ParseFloat(node.attributes["attack_speed"], &enemy.attack_speed);
    ParseFloat(node.attributes["energy"], &enemy.energy);
    ParseFloat(node.attributes["rest"], &enemy.rest);
    ParseFloat(node.attributes["creation_time"], &enemy.creation_time);
    // Turtles share the type numbers of the gulls in the file.
    if (node.name == "Turtle") {
        if (enemy.kind == 0) {
            enemy.kind = ENEMY_TURTLE_1;
        } else if (enemy.kind == 1) {
            enemy.kind = ENEMY_TURTLE_2;
        }
    }
    return enemy;
}

}  // namespace

void CLevelRecord::Reset() {
    number = -1;
    location = 1;
    location_level = 0;
    food_types = 2;
    brush_types = 0;
    medic_types = 0;
    machine_ingridients = 2;
    base_aquariums = 2;
    need_time = 0.0f;
    expert_time = 0.0f;
    need = 0;
    expert = 0;
    // Swapping with empty lists gives their storage back, which clear() keeps.
    std::vector<CLevelTask>().swap(tasks);
    bonus = false;
    std::vector<CLevelEnemy>().swap(enemies);
}

std::int32_t CLevelRecord::CountTurtles() const {
    return static_cast<std::int32_t>(
        std::count_if(enemies.begin(), enemies.end(), [](const CLevelEnemy& enemy) {
            return enemy.kind == ENEMY_TURTLE_1 || enemy.kind == ENEMY_TURTLE_2;
        }));
}

std::int32_t CLevelBase::Load(const std::string& path) {
    CLevelRecord level;
    Clear();
    HtmlLog().Write("Blue", "Initializing level base");
    CXmlReader reader;
    if (!reader.Open(path)) {
        HtmlLog().Write("Red", "Couldn't open level base (%s)", path.c_str());
        return 0;
    }
    CLevelRecord carried;
    XmlNode node;
    // Open elements; the file is whole once the outermost one has closed.
    std::int32_t depth = 0;
    bool rootClosed = false;
    // A syntax error ends the reading like the end of the file: the levels
    // completed before it stay.
    while (reader.Read(node)) {
        if (node.type == XML_START_ELEMENT) {
            ++depth;
            rootClosed = false;
        } else if (node.type == XML_END_ELEMENT) {
            --depth;
            rootClosed = depth == 0;
        }
        if (node.type == XML_START_ELEMENT) {
            if (node.name == "Setup") {
                ReadSetup(node, carried);
            } else if (IsLevelElement(node.name)) {
                level.Reset();
                level.number = GetCount() + 1;
                CopySetup(carried, level);
                ParseFloat(node.attributes["need_time"], &level.need_time);
                ParseFloat(node.attributes["expert_time"], &level.expert_time);
                ParseInt(node.attributes["need"], &level.need);
                ParseInt(node.attributes["expert"], &level.expert);
                level.bonus = node.name == "BonusLevel";
            } else if (node.name == "Task" || node.name == "BonusTask") {
                level.tasks.push_back(ReadTask(node));
            } else if (node.name == "Gull" || node.name == "Turtle") {
                level.enemies.push_back(ReadEnemy(node));
            }
        } else if (node.type == XML_END_ELEMENT && IsLevelElement(node.name)) {
            m_levels.push_back(level);
        }
    }
    m_whole = rootClosed && !reader.HasError();
    // The reader names a syntax error itself; one line per damaged file.
    if (!m_whole && !reader.HasError()) {
        HtmlLog().Write("Red", "Level base is cut off or damaged (%s)", path.c_str());
    }
    HtmlLog().Write("Green", "Initialization is completed (%i)", GetCount());
    return GetCount();
}

void CLevelBase::Clear() {
    std::vector<CLevelRecord>().swap(m_levels);
    m_whole = false;
}

CLevelRecord CLevelBase::GetLevel(std::uint32_t n) const {
    if (n - 1u < m_levels.size()) {
        return m_levels[n - 1u];
    }
    return CLevelRecord();
}

std::int32_t CLevelBase::CountBonusLevels(std::uint32_t n) const {
    std::int32_t count = 0;
    // n = 0 wraps to the largest bound and so counts every record.
    const std::uint32_t last = n - 1u;
    for (std::size_t index = 0; index < m_levels.size() && index <= last; ++index) {
        if (m_levels[index].bonus) {
            ++count;
        }
    }
    return count;
}

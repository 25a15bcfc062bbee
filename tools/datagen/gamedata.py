"""The game's rule data: fishes.xml, levels.xml and upgrades.xml."""

import math

from common import write_text, fmt_float

# Kinds in the order of the fish-kind numbers.
KINDS = ["FISH_1", "FISH_2", "THORN_FISH", "CAT_FISH", "JELLY_FISH_1", "JELLY_FISH_2",
         "CRAMP_FISH", "GOLD_FISH_1", "GOLD_FISH_2", "SAW_FISH", "SHARK_1", "SHARK_2",
         "ANGLER_FISH", "SHOAL_FISHES", "OCTOPUS", "CRAB", "SHELL"]

GROUND = ("SAND", "STONE", "ROCK")
ALGAE = ("GREEN_GRASS", "BLUE_GRASS", "RED_GRASS")
HOUSE = ("CHEST", "CASTLE", "SEA_SHELL")
CORAL = ("RED_CORAL", "BLUE_CORAL", "YELLOW_CORAL")

# Every kind: price, interior, likes, foods, growth per met wish, and how often
# it gets dirty or ill. The kinds are listed in the order the story brings them.
FISH = {
    "FISH_1": dict(cost=50, ground="ROCK", algae="GREEN_GRASS", lamp=-1, comp=-1,
                   feed=[1, 2], growth=50, dirt=None, ill=None, order=90, between=3),
    "SHOAL_FISHES": dict(cost=60, ground="STONE", algae="BLUE_GRASS", lamp=-1, comp=1,
                         feed=[1, 2], growth=34, dirt=None, ill=None, order=90, between=3),
    "FISH_2": dict(cost=70, ground="SAND", algae="RED_GRASS", lamp=1, comp=-1,
                   feed=[2, 3], growth=34, dirt=([1], 20, 1), ill=None, order=85, between=3),
    "GOLD_FISH_1": dict(cost=85, ground="SAND", algae="GREEN_GRASS", house="CASTLE", lamp=1,
                        comp=0, feed=[1, 3], growth=34, dirt=([1], 20, 1), ill=None, order=85,
                        between=3),
    "CAT_FISH": dict(cost=95, ground="ROCK", algae="RED_GRASS", house="CHEST", lamp=0, comp=1,
                     feed=[3, 4], growth=25, dirt=([1], 25, 1), ill=([1], 15, 1), order=85,
                     between=3),
    "JELLY_FISH_1": dict(cost=105, ground="STONE", algae="BLUE_GRASS", house="SEA_SHELL",
                         lamp=0, comp=1, feed=[2, 4], growth=25, dirt=([1], 20, 1),
                         ill=([1], 15, 1), order=80, between=3),
    "THORN_FISH": dict(cost=115, ground="ROCK", algae="GREEN_GRASS", coral="RED_CORAL",
                       lamp=1, comp=1, feed=[1, 4], growth=25, dirt=([1, 2], 25, 1),
                       ill=([1], 15, 1), order=80, between=3),
    "GOLD_FISH_2": dict(cost=125, ground="SAND", algae="BLUE_GRASS", house="CASTLE",
                        coral="YELLOW_CORAL", lamp=1, comp=-1, feed=[2, 3], growth=25,
                        dirt=([2], 25, 1), ill=([1], 15, 1), order=80, between=3),
    "CRAMP_FISH": dict(cost=135, ground="STONE", algae="RED_GRASS", house="CHEST",
                       lamp=0, comp=1, feed=[3, 4], growth=25, dirt=([2], 30, 2),
                       ill=([2], 15, 1), order=80, between=2.5),
    "JELLY_FISH_2": dict(cost=145, ground="SAND", algae="BLUE_GRASS", coral="BLUE_CORAL",
                         lamp=0, comp=0, feed=[1, 4], growth=25, dirt=([1], 20, 1),
                         ill=([2], 20, 1), order=80, between=2.5),
    "CRAB": dict(cost=155, ground="ROCK", algae="RED_GRASS", house="SEA_SHELL",
                 coral="RED_CORAL", lamp=-1, comp=1, feed=[2, 3], growth=25,
                 dirt=([1, 2], 30, 2), ill=([1, 2], 20, 1), order=80, between=2.5),
    "SHELL": dict(cost=165, ground="SAND", algae="GREEN_GRASS", house="SEA_SHELL",
                  coral="BLUE_CORAL", lamp=1, comp=0, feed=[1, 3], growth=25,
                  dirt=([2], 30, 2), ill=([1], 20, 1), order=75, between=2.5),
    "SAW_FISH": dict(cost=180, ground="STONE", algae="GREEN_GRASS", house="CHEST",
                     coral="YELLOW_CORAL", lamp=1, comp=1, feed=[2, 4], growth=20,
                     dirt=([1, 2], 30, 2), ill=([1], 20, 1), order=75, between=2.5),
    "OCTOPUS": dict(cost=195, ground="ROCK", algae="BLUE_GRASS", house="CASTLE",
                    coral="RED_CORAL", lamp=0, comp=1, feed=[1, 3], growth=20,
                    dirt=([2], 30, 2), ill=([2], 25, 2), order=75, between=2.5),
    "ANGLER_FISH": dict(cost=210, ground="SAND", algae="RED_GRASS", house="SEA_SHELL",
                        coral="YELLOW_CORAL", lamp=0, comp=-1, feed=[3, 4], growth=20,
                        dirt=([1, 2], 30, 2), ill=([1, 2], 25, 2), order=75, between=2.5),
    "SHARK_1": dict(cost=230, ground="STONE", algae="RED_GRASS", house="CASTLE",
                    coral="BLUE_CORAL", lamp=1, comp=1, feed=[2, 4], growth=20,
                    dirt=([1, 2], 35, 2), ill=([1, 2], 25, 2), order=70, between=2),
    "SHARK_2": dict(cost=250, ground="ROCK", algae="BLUE_GRASS", house="CHEST",
                    coral="YELLOW_CORAL", lamp=1, comp=1, feed=[1, 2, 3, 4], growth=20,
                    dirt=([1, 2], 35, 2), ill=([1, 2], 30, 2), order=70, between=2),
}

INTRO_ORDER = ["FISH_1", "SHOAL_FISHES", "FISH_2", "GOLD_FISH_1", "CAT_FISH", "JELLY_FISH_1",
               "THORN_FISH", "GOLD_FISH_2", "CRAMP_FISH", "JELLY_FISH_2", "CRAB", "SHELL",
               "SAW_FISH", "OCTOPUS", "ANGLER_FISH", "SHARK_1", "SHARK_2"]


def fish_needs(kind):
    """What a level must offer for this kind to be servable:
    (machine ingredient groups, foods, brushes, medicines)."""
    f = FISH[kind]
    ingr = 2
    if f.get("house"):
        ingr = 3
    if f.get("coral"):
        ingr = 4
    foods = max(f["feed"])
    brushes = max(f["dirt"][0]) if f["dirt"] else 0
    medics = max(f["ill"][0]) if f["ill"] else 0
    return ingr, foods, brushes, medics


def fishes_xml():
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Fish kinds: price, interior, foods and care. Times are seconds. -->",
           "<Fishes>"]
    for kind in INTRO_ORDER:
        f = FISH[kind]
        out.append('  <Fish name="FISH_NAME_%s" type="%s" lamp="%d" compressor="%d" '
                   'time_between_requests="%s" waiting_time="%s">'
                   % (kind, kind, f["lamp"], f["comp"], fmt_float(f["between"]),
                      fmt_float(f["order"])))
        out.append('    <Sell final_cost="%d" penalty_percent="10" extra_percent_per_1_5="4" '
                   'vitamin_percent="25"/>' % f["cost"])
        attrs = ['ground="%s"' % f["ground"], 'algae="%s"' % f["algae"]]
        if f.get("house"):
            attrs.append('house="%s"' % f["house"])
        if f.get("coral"):
            attrs.append('coral="%s"' % f["coral"])
        attrs.append('waiting_time="%d"' % (70 if f.get("coral") else 60))
        out.append("    <InteriorConst %s/>" % " ".join(attrs))
        out.append('    <Feed types="%s" growth_percent="%d" waiting_time="%d"/>'
                   % (",".join(str(t) for t in f["feed"]), f["growth"], 30))
        if f["dirt"]:
            b, p, lim = f["dirt"]
            out.append('    <DirtRetention brushes="%s" probability_percent="%d" limit="%d" '
                       'waiting_time="35"/>' % (",".join(map(str, b)), p, lim))
        if f["ill"]:
            m, p, lim = f["ill"]
            out.append('    <Morbidity medicines="%s" probability_percent="%d" limit="%d" '
                       'waiting_time="40"/>' % (",".join(map(str, m)), p, lim))
        out.append("  </Fish>")
    out.append("</Fishes>")
    return "\n".join(out) + "\n"


# ---------------------------------------------------------------------------
# Levels. Index 1 and 24 are the training levels; story levels 1-15, 16-30
# and 31-45 fill locations 1, 2 and 3, each with three bonus levels.

def story_setup(n):
    """Setup values of story level n (1-45)."""
    loc = 1 + (n - 1) // 15
    k = (n - 1) % 15
    location_level = min(6, k // 2)
    if loc == 1:
        food = 2 if n <= 2 else 3 if n <= 9 else 4
        brush = 0 if n <= 2 else 1
        medic = 0 if n <= 9 else 1
        ingr = 2 if n <= 5 else 3
        aquariums = 2 if n <= 5 else 3
    elif loc == 2:
        # The new shop brings the corals and the second brush at once, the
        # second medicine two days later and the vitamins with the second
        # training, so that the kinds of kinds_for() arrive one a day.
        food = 4 if n <= 19 else 5
        brush = 2
        medic = 1 if n <= 17 else 2
        ingr = 4
        aquariums = 5
    else:
        food, brush, medic, ingr, aquariums = 6, 2, 2, 4, 5
    return dict(location=loc, location_level=location_level, food_types=food,
                brush_types=brush, medic_types=medic, machine_ingridients=ingr,
                base_aquariums=aquariums)


def kinds_for(n):
    """Kinds a story level may order: every kind introduced so far whose needs
    the level's setup meets; new kinds are introduced every few levels."""
    s = story_setup(n)
    intro_at = [1, 1, 3, 6, 10, 13, 16, 17, 18, 20, 23, 26, 31, 33, 35, 38, 41]
    out = []
    for kind, at in zip(INTRO_ORDER, intro_at):
        if at > n:
            continue
        ingr, foods, brushes, medics = fish_needs(kind)
        if ingr <= s["machine_ingridients"] and foods <= min(4, s["food_types"]) \
                and brushes <= s["brush_types"] and medics <= s["medic_types"]:
            out.append(kind)
    return out


def new_kinds(n):
    """Kinds that story level n is the first to offer, oldest first."""
    before = set(kinds_for(n - 1)) if n > 1 else set()
    return [k for k in kinds_for(n) if k not in before]


def story_tasks(n):
    kinds = kinds_for(n)
    # The kinds new today show up early; otherwise the newest kind does.
    early = new_kinds(n) or kinds[-1:]
    r = __import__("random").Random("level|%d" % n)
    count = 3 + (n * 11) // 45          # 3 orders at the start, 14 at the end
    gap = max(12.0, 26.0 - n * 0.3)      # seconds between arrivals shrink
    tasks = []
    t = 4.0
    for i in range(count):
        if 1 <= i <= len(early) and len(kinds) > 1:
            kind = early[-i]
        else:
            # later kinds are a little more likely
            weights = [1 + j for j in range(len(kinds))]
            kind = r.choices(kinds, weights)[0]
        amount = 1
        if n > 10 and r.random() < min(0.45, (n - 10) / 60):
            amount = 2
        tasks.append((kind, amount, round(t, 1)))
        t += gap * (0.8 + 0.4 * r.random()) * amount
    computer = []
    if n >= 20 and n % 3 == 0:
        computer.append((r.choice(kinds), 1, round(t * 0.5, 1)))
    return tasks, computer


def level_goals(tasks, n):
    total = sum(FISH[k]["cost"] * a for k, a, _ in tasks)
    need = int(round(total * (0.55 + 0.25 * (n - 1) / 44) / 10.0)) * 10
    expert = int(round(total * 1.1 / 10.0)) * 10
    last = max(t for _, _, t in tasks)
    minutes = math.ceil((last + 150 + 12 * len(tasks)) / 30.0) / 2.0
    return need, expert, minutes


def bonus_level(b, setup):
    """Bonus level b (1-9): more turtles and faster gulls each time."""
    r = __import__("random").Random("bonus|%d" % b)
    turtles = 5 + b
    gulls = 2 + (b + 1) // 2
    lines = []
    need = int(turtles * 200 * (0.45 + 0.03 * b) / 50) * 50
    lines.append('  <BonusLevel need_time="3" expert_time="2" need="%d" expert="%d">'
                 % (need, need + 400))
    t = 1.0
    for i in range(turtles):
        lines.append('    <Turtle type="%d" path="%d" speed="%s" energy="%s" rest="%s" '
                     'creation_time="%s"/>'
                     % (i % 2, r.randrange(3), fmt_float(35 + 2 * b + r.randrange(15)),
                        fmt_float(4 + r.randrange(4)), fmt_float(1.5 + r.randrange(3) * 0.5),
                        fmt_float(t)))
        t += 5.5 - 0.25 * b + r.random() * 2
    for i in range(gulls):
        lines.append('    <Gull type="%d" path="0" speed="%s" attack_speed="%s" energy="0" '
                     'rest="0" creation_time="%s"/>'
                     % (i % 2, fmt_float(90 + 8 * b + r.randrange(30)),
                        fmt_float(260 + 12 * b), fmt_float(3 + i * (10 - 0.5 * b))))
    lines.append("  </BonusLevel>")
    return lines


def setup_line(s, prev=None):
    keys = ["location", "location_level", "food_types", "brush_types", "medic_types",
            "machine_ingridients", "base_aquariums"]
    return "  <Setup %s/>" % " ".join('%s="%d"' % (k, s[k]) for k in keys)


TRAINING_1 = dict(location=1, location_level=0, food_types=2, brush_types=0, medic_types=0,
                  machine_ingridients=2, base_aquariums=2)
# The second training sits between story levels 19 and 20: it keeps every
# tool of the shop as it stands and adds the vitamins it teaches. A level
# with fewer tools than the one before would take them away for a level and
# then show them again as new.
TRAINING_2 = dict(story_setup(19), food_types=5)

# Level index of every bonus level (1-based, in file order).
BONUS_AFTER_STORY = {4: 1, 8: 2, 12: 3, 22: 4, 25: 5, 28: 6, 34: 7, 38: 8, 42: 9}


def level_list():
    """The levels in file order: ("training", n, setup, tasks) / ("story", ...) / ("bonus", ...)."""
    seq = [("training", 1, TRAINING_1)]
    for n in range(1, 46):
        if n == 20:
            seq.append(("training", 2, TRAINING_2))
        seq.append(("story", n, story_setup(n)))
        if n in BONUS_AFTER_STORY:
            seq.append(("bonus", BONUS_AFTER_STORY[n], story_setup(n)))
    return seq


def levels_xml():
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Every level in play order: two training levels, 45 story levels in",
           "     three locations and nine bonus levels. Times: need_time in minutes,",
           "     creation_time in seconds after the start. -->",
           "<Levels>"]
    for kind, n, setup in level_list():
        out.append(setup_line(setup))
        if kind == "training" and n == 1:
            out.append("  <!-- training 1: one order first, two more held back by the tips -->")
            out.append('  <Level need_time="10" expert_time="8" need="50" expert="200">')
            # The tips hold the arrivals from the first order on and let
            # them run again after the first sale; the two later orders
            # then come a few seconds after the tip that announces them.
            out.append('    <Task fish_type="FISH_1" amount="1" creation_time="2"/>')
            out.append('    <Task fish_type="FISH_1" amount="1" creation_time="5"/>')
            out.append('    <Task fish_type="SHOAL_FISHES" amount="1" creation_time="6"/>')
            out.append("  </Level>")
        elif kind == "training":
            out.append("  <!-- training 2: vitamins and the second location -->")
            out.append('  <Level need_time="8" expert_time="6" need="30" expert="120">')
            out.append('    <Task fish_type="FISH_1" amount="1" creation_time="2"/>')
            out.append("  </Level>")
        elif kind == "story":
            tasks, computer = story_tasks(n)
            need, expert, minutes = level_goals(tasks, n)
            out.append("  <!-- story level %d -->" % n)
            out.append('  <Level need_time="%s" expert_time="%s" need="%d" expert="%d">'
                       % (fmt_float(minutes), fmt_float(minutes * 0.75), need, expert))
            for k, a, t in tasks:
                out.append('    <Task fish_type="%s" amount="%d" creation_time="%s"/>'
                           % (k, a, fmt_float(t)))
            for k, a, t in computer:
                out.append('    <BonusTask fish_type="%s" amount="%d" creation_time="%s"/>'
                           % (k, a, fmt_float(t)))
            out.append("  </Level>")
        else:
            out.append("  <!-- bonus level %d -->" % n)
            out.extend(bonus_level(n, setup))
    out.append("</Levels>")
    return "\n".join(out) + "\n"


# Each upgrade's values by level, in the order of its attributes in
# upgrades.xml: the value of level i is written as "<name>_<i>". The first
# level of the footwear, pet aquarium and machine is owned from the start.
UPGRADE_LEVELS = {
    "Footwear": {"cost": [0, 450, 1200], "speed": [150, 190, 235]},
    "PetAquarium": {"cost": [0, 300, 550, 850, 1200, 1600],
                    "effect": [0, 20, 40, 60, 80, 100]},
    "Aquarium": {"cost": [250, 400, 650, 950], "effect": [0, 10, 20, 30]},
    "Machine": {"cost": [0, 600, 1300], "work_time": [8, 6, 4],
                "charging_time": [6, 4.5, 3]},
    "AudioSystem": {"cost": [350, 700, 1200], "effect": [1, 1.5, 2],
                    "work_time": [10, 12, 15], "charging_time": [45, 38, 30]},
}
# Upgrades with one price for every level.
UPGRADE_FLAT = {
    "Computer": {"cost": 800},
    "VitaminCost": {"cost": 60, "max": 5},
    "VitaminGrowth": {"cost": 60, "max": 5},
}


def upgrade_cost(element, level=None):
    """What the shop charges for `level` of an upgrade (None: a flat price)."""
    if level is None:
        return UPGRADE_FLAT[element]["cost"]
    return UPGRADE_LEVELS[element]["cost"][level - 1]


def upgrades_xml():
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Upgrade prices (cash) and what each level gives. The first level of the",
           "     footwear, pet aquarium and machine is owned from the start. -->",
           "<Upgrades>"]
    for element, values in UPGRADE_LEVELS.items():
        attrs = ['%s_%d="%s"' % (name, i, fmt_float(v))
                 for name, levels in values.items() for i, v in enumerate(levels, 1)]
        out.append("  <%s %s/>" % (element, " ".join(attrs)))
    for element, values in UPGRADE_FLAT.items():
        attrs = ['%s="%s"' % (name, fmt_float(v)) for name, v in values.items()]
        out.append("  <%s %s/>" % (element, " ".join(attrs)))
    out.extend(["</Upgrades>", ""])
    return "\n".join(out)


def write_all(out_dir):
    write_text(out_dir + "/fishes.xml", fishes_xml())
    write_text(out_dir + "/levels.xml", levels_xml())
    write_text(out_dir + "/upgrades.xml", upgrades_xml())

"""language.xml and the English text file. A line break inside a text is
written as a new line here and stored as the reader's line-break entity."""

from common import write_text, xml_attr
from gamedata import INTRO_ORDER, BONUS_AFTER_STORY, upgrade_cost
from menu import CAPTIONS as MENU_CAPTIONS

LANGUAGE_FILE = "english.xml"

FIXED = {
    "VERSION": "Version",
    "COPYRIGHT": "(c) The Corvalen team. Pictures and sounds are our own.",
    "EMPTY_RECORD": "Nobody yet",
    "LEVEL_COMPLETE_CONGRATULATION": "Well done!",
    "LEVEL_FAILED": "Not this time...",
    "LEVEL_COMPLETE": "Level complete",
    "LEVEL_FAILED_TRY_AGAIN": "Try again!",
    "RESUME": "Resume",
    "SAVE_AND_EXIT": "Save & exit",
    "OK": "OK",
    "TRY_AGAIN": "Try again",
    "FINISH": "Finish",
    "BUY": "Buy",
    "SKIP": "Skip",
    "PLAY": "Play",
    "FISH_PERSON": "Fish",
    "TURTLE_PERSON": "Turtle",
    "CLOSED": "Closed",
    "CASH": "Cash",
    "LEVEL": "Level",
    "MENU_NORMAL": "Goal",
    "MENU_EXPERT": "Expert",
    "CHANGE_PET": "Choose your pet!\nThe fish helps your fish grow,\nthe turtle gives you extra time.",
    "TRAINING_1": "Welcome to your own aquarium shop!\nCustomers order fish; raise them and\nsell them when they are fully grown.\nThe tips will show you how.",
    "TRAINING_2": "A new shop by the sea!\nHere you will learn to use vitamins\nto make your fish grow faster.",
    "MINIGAME_TUTORIAL": "Help the little turtles reach the sea!\nClick the gulls to chase them away\nand click a turtle to make it hurry.",
    "GOAL": "Goal: $",
    "EXPERT": "Expert goal: $",
    "PAUSE": "Pause",
    "STATISTICS_1": "Cash earned",
    "STATISTICS_2": "Time",
    "STATISTICS_3": "Combos",
    "STATISTICS_4": "Order fish sold",
    "STATISTICS_5": "Computer fish sold",
    "STATISTICS_6": "Fish sold",
    "STATISTICS_7": "Fish & orders lost",
    # Shares line 1 with the cash, between its label and its value.
    "EXPERT_MODE": "Top!",
    "BONUS_STATISTICS_1": "Turtles saved",
    "BONUS_STATISTICS_2": "Turtles lost",
    "BONUS_STATISTICS_3": "Bonus cash",
    "MINIGAME_BONUS": "All turtles say thank you!\nYou walk faster in the next levels.",
    "TIP_HEADER": "Tip",
    "BUY_AQUARIUM_HEADER": "New aquarium",
    "BUY_AQUARIUM_TEXT_1": (
        "Buy another aquarium\nfor your shop. Each one\n"
        "raises a fish of its own,\nso you can serve more\n"
        "customers at the same time.\nMore fish at once\n"
        "mean more cash a day!"
    ),
    "UPGRADE_AQUARIUM_HEADER": "Upgrade",
    "UPGRADE_AQUARIUM_TEXT_1": (
        "A better aquarium:\nclear water and a bright\n"
        "lamp show the fish at\ntheir best. Every fish\n"
        "sold from this aquarium\nbrings 10% more cash.\n"
        "Customers notice!"
    ),
    "UPGRADE_AQUARIUM_TEXT_2": (
        "An even better aquarium:\nfiner glass and a brighter\n"
        "lamp. Every fish sold\nfrom this aquarium\n"
        "brings 20% more cash\ninstead of 10%.\nCustomers love it!"
    ),
    "UPGRADE_AQUARIUM_TEXT_3": (
        "The finest aquarium\nin town: customers come\n"
        "from far away to buy\nfrom it. Every fish\n"
        "sold from this aquarium\nbrings 30% more cash\n"
        "instead of 20%."
    ),
    "UPGRADE_PET_TEXT_1": (
        "A bigger home for your pet:\nit is happier there\n"
        "and helps you a little\nmore in every level.\n"
        "A small price for a friend!"
    ),
    "UPGRADE_PET_TEXT_2": (
        "A nicer home for your pet:\nwith more room to play\n"
        "it is in a good mood,\nand its help grows again\n"
        "in every level."
    ),
    "UPGRADE_PET_TEXT_3": (
        "A cosy home for your pet:\nsoft sand, warm light\n"
        "and a place to hide.\nIt helps you even more\n"
        "in every level."
    ),
    "UPGRADE_PET_TEXT_4": (
        "A splendid home for your\npet: it shows it proudly\n"
        "to every customer,\nand its help is strong\nin every level."
    ),
    "UPGRADE_PET_TEXT_5": (
        "A palace for your pet:\nnothing could be finer.\n"
        "Your best friend gives\nthe greatest help\nin every level."
    ),
    "BUY_COMPUTER_HEADER": "Computer",
    "BUY_COMPUTER_TEXT_1": (
        "With a computer you take\norders by e-mail as well.\n"
        "When it rings, walk over\nand click it to take\n"
        "the order. More orders\nmean more customers\nand more cash!"
    ),
    "UPGRADE_MACHINE_HEADER": "Interior machine",
    "UPGRADE_MACHINE_TEXT_1": (
        "A faster machine builds\ninteriors quicker, and its\n"
        "ingredients are ready again\nsooner after each use.\n"
        "Less waiting for interiors!"
    ),
    "UPGRADE_MACHINE_TEXT_2": (
        "The fastest machine:\ninteriors are ready in\n"
        "no time, and the ingredients\nrecharge faster than ever.\n"
        "Serve every fish at once!"
    ),
    "BUY_AUDIO_SYSTEM_HEADER": "Audio system",
    "BUY_AUDIO_SYSTEM_TEXT_1": (
        "Music calms the fish:\nclick the audio system, and\n"
        "while it plays, wishes and\norders wait longer for you.\n"
        "It needs a short rest\nbetween two songs, then\n"
        "it is ready to play again."
    ),
    "UPGRADE_AUDIO_SYSTEM_HEADER": "Audio system",
    "UPGRADE_AUDIO_SYSTEM_TEXT_1": (
        "Better speakers: the music\nplays longer and calms\n"
        "the fish more, so wishes\nand orders wait longer.\n"
        "After a song the audio\nsystem is ready again\n"
        "sooner than before."
    ),
    "UPGRADE_AUDIO_SYSTEM_TEXT_2": (
        "The best sound in town:\nlong, calm music for\n"
        "all fish. Wishes and\norders wait longest,\n"
        "and the rest between\ntwo songs is the\nshortest of all."
    ),
    "UPGRADE_FOOTWEAR_HEADER": "Footwear",
    "UPGRADE_FOOTWEAR_TEXT_1": (
        "Sandals: light and quick.\nYou walk faster\n"
        "between the aquariums,\nthe machine and\nthe shelves."
    ),
    "UPGRADE_FOOTWEAR_TEXT_2": (
        "Sports boots: the fastest\nway around the shop.\n"
        "Every wish and order\nis met sooner, and\n"
        "no fish has to wait."
    ),
    "COMBO": "Combo",
    "SELL": "Sold",
    "FISH_DIE": "Fish lost",
    "FAST_BONUS": "Fast",
    "EXTRA_GROWTH": "Growth",
    "EXTRA_COST": "Value",
    "PET_FISH_ABILITY": "Pet help",
    "PET_TURTLE_ABILITY": "Extra time",
    "BONUS_LEVEL_GOAL": "Saved: ",
}

# Lines 1, 3, 4, 6, 8, 10 and 12 stand in the heading style, the others under
# them. Line 3 sits right above the heading of line 4, so it carries only an
# ornament: every heading keeps a line of its own under it.
CREDITS = [
    "Corvalen", "A game about fish, friends and a little shop",
    "* * *", "Game design", "The Corvalen team",
    "Programming", "The Corvalen team",
    "Pictures", "Drawn by our own generator",
    "Music and sounds", "Synthesized by our own generator",
    "Thanks", "Everyone who tested the shop",
]

TIPS = {
    1: "A customer wants a fish!\nClick the order card,\nthen the aquarium\nthe arrow shows.",
    2: "First the fish wants a home.\nClick the rock and the\ngreen grass of the machine.\nThey are the interior the\norder card shows.",
    3: "Now click the machine\nto build the interior.",
    4: "The machine is working.\nWhen the interior is ready\nit appears on the machine.\nWait a moment...",
    5: "Click the finished interior,\nthen click the aquarium\nto put it in.",
    6: "Well done! Watch the bubble\nover the fish: it tells\nwhat the fish wants next.",
    7: "The fish is hungry.\nTake the food it asks for\nand bring it to the aquarium.",
    8: "Every wish you meet makes\nthe fish grow. Wait for\nthe next wish.",
    9: "Hungry again! Bring\nthe other food this time.",
    10: "The fish is fully grown.\nClick the sell button\nover the aquarium.",
    11: "Two more customers!\nThe more fish you raise\nat once, the more you earn.\nPut the first order into\nthe left aquarium.",
    12: "Put the second order\ninto the other aquarium.",
    13: "Choose the stone and\nthe blue grass for the\nsecond fish.",
    14: "Start the machine.",
    15: "While the machine works\nyou can already choose\nthe next interior: the rock\nand the green grass.",
    16: "Click the machine again:\nthe second set waits in line.",
    17: "Take the first interior to\nthe right aquarium. The\nnext one is built at once.",
    18: "Take the second interior\nto the left aquarium.",
    19: "This fish wants the bubbles\nof the compressor. Click the\nswitch on its aquarium.",
    20: "Both fish will soon\nbe hungry.",
    21: "You have two hands:\ntake both foods at once.",
    22: "Now feed both fish.",
    23: "Hungry again!\nWatch the bubbles: each\nfish says what it wants.",
    24: "Take both foods again.",
    25: "Feed both fish.",
    26: "Both fish are grown!\nSell them for cash.",
    27: "The machine is here too.\nChoose the rock and\nthe green grass.",
    28: "Start the machine.",
    29: "The interior is on its way.",
    30: "Take the interior\nto the aquarium.",
    31: "Wait for the fish's wish.",
    32: "A vitamin makes a fish\ngrow faster. Take the food\nand the green vitamin\ntogether.",
    33: "Give the food with the\nvitamin to the fish:\nit grows much faster!\nThe charge clock shows\nwhen the next vitamin\nis ready.",
    34: "Sell the grown fish.\nVitamins are sold in the\nshop between levels.\nGood luck!",
}

# The upgrade level each shop hint offers: (element of upgrades.xml, level
# bought; None for a flat price). Its price closes the hint's text.
SHOP_OFFERS = {
    "BUY_AQUARIUM_TEXT_1": ("Aquarium", 1),
    "UPGRADE_AQUARIUM_TEXT_1": ("Aquarium", 2),
    "UPGRADE_AQUARIUM_TEXT_2": ("Aquarium", 3),
    "UPGRADE_AQUARIUM_TEXT_3": ("Aquarium", 4),
    "UPGRADE_PET_TEXT_1": ("PetAquarium", 2),
    "UPGRADE_PET_TEXT_2": ("PetAquarium", 3),
    "UPGRADE_PET_TEXT_3": ("PetAquarium", 4),
    "UPGRADE_PET_TEXT_4": ("PetAquarium", 5),
    "UPGRADE_PET_TEXT_5": ("PetAquarium", 6),
    "BUY_COMPUTER_TEXT_1": ("Computer", None),
    "UPGRADE_MACHINE_TEXT_1": ("Machine", 2),
    "UPGRADE_MACHINE_TEXT_2": ("Machine", 3),
    "BUY_AUDIO_SYSTEM_TEXT_1": ("AudioSystem", 1),
    "UPGRADE_AUDIO_SYSTEM_TEXT_1": ("AudioSystem", 2),
    "UPGRADE_AUDIO_SYSTEM_TEXT_2": ("AudioSystem", 3),
    "UPGRADE_FOOTWEAR_TEXT_1": ("Footwear", 2),
    "UPGRADE_FOOTWEAR_TEXT_2": ("Footwear", 3),
}


def priced_shop_hints(texts):
    """Ends every shop hint with the price of what it offers, after a blank
    line: the player sees why BUY stays away while the savings fall short."""
    for tid, (element, level) in SHOP_OFFERS.items():
        texts[tid] = "%s\n\nPrice: $%d" % (texts[tid], upgrade_cost(element, level))


LOCATION_NAMES = {1: "the harbour shop", 2: "the beach shop", 3: "the city aquarium"}


def briefing(n):
    from gamedata import story_tasks, new_kinds
    tasks, computer = story_tasks(n)
    loc = 1 + (n - 1) // 15
    k = (n - 1) % 15 + 1
    lines = ["Day %d in %s." % (k, LOCATION_NAMES[loc])]
    # Name exactly the kinds that are new today; story_tasks orders each of them.
    fresh = [FISH_NAMES[kind].lower() for kind in new_kinds(n)]
    if fresh:
        # Two long names break after the first: the panel holds about 48
        # characters a line.
        wanted = "New customers ask for the %s!" % " and the ".join(reversed(fresh))
        lines.extend(wanted.replace(" and the ", "\nand the ").split("\n")
                     if len(wanted) > 48 else [wanted])
    lines.append("%d customers are expected today." % (len(tasks) + len(computer)))
    if n == 16 or n == 31:
        lines.append("A new shop: new fish and new tools.")
    elif n == 45:
        lines.append("The last day: show what you can do!")
    else:
        lines.append("Keep every fish happy.")
    return "\n".join(lines)


def minigame_briefing(b):
    names = ["The first little turtles are hatching.",
             "More turtles are on their way to the sea.",
             "The gulls are getting hungry...",
             "A turtle beach by the new shop.",
             "The gulls have called their friends.",
             "A big hatch tonight!",
             "Turtles at the city harbour.",
             "The gulls are faster than ever.",
             "The last and biggest turtle run!"]
    return names[b - 1] + "\nSave as many turtles as you can."


FISH_NAMES = {
    "FISH_1": "Sunny guppy", "FISH_2": "Blue tetra", "THORN_FISH": "Thorn fish",
    "CAT_FISH": "Catfish", "JELLY_FISH_1": "Moon jelly", "JELLY_FISH_2": "Rose jelly",
    "CRAMP_FISH": "Spark ray", "GOLD_FISH_1": "Goldfish", "GOLD_FISH_2": "Fan goldfish",
    "SAW_FISH": "Sawfish", "SHARK_1": "Reef shark", "SHARK_2": "Tiger shark",
    "ANGLER_FISH": "Anglerfish", "SHOAL_FISHES": "Neon shoal", "OCTOPUS": "Octopus",
    "CRAB": "Hermit crab", "SHELL": "Pearl shell",
}


def all_texts():
    t = dict(FIXED)
    priced_shop_hints(t)
    t.update(MENU_CAPTIONS)
    for i, s in enumerate(CREDITS, 1):
        t["CREDITS_%d" % i] = s
    for i, s in TIPS.items():
        t["TIP_%d" % i] = s
    for n in range(1, 46):
        t["BRIEFING_%d" % n] = briefing(n)
    for b in range(1, len(BONUS_AFTER_STORY) + 1):
        t["MINIGAME_BRIEFING_%d" % b] = minigame_briefing(b)
    for k in INTRO_ORDER:
        t["FISH_NAME_%s" % k] = FISH_NAMES[k]
    return t


def language_xml():
    return ('<?xml version="1.0" encoding="utf-8"?>\n'
            "<!-- The language in use and the text file of each language. -->\n"
            "<Languages>\n"
            '  <Language current="English"/>\n'
            '  <English text_data="%s"/>\n'
            "</Languages>\n" % LANGUAGE_FILE)


def text_xml():
    out = ['<?xml version="1.0" encoding="utf-8"?>', "<Texts>"]
    for k, v in all_texts().items():
        out.append('  <text id="%s" data="%s"/>' % (k, xml_attr(v)))
    out.append("</Texts>")
    return "\n".join(out) + "\n"


def write_all(out_dir):
    write_text(out_dir + "/language.xml", language_xml())
    write_text(out_dir + "/" + LANGUAGE_FILE, text_xml())

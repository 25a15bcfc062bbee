#!/usr/bin/python3
"""Builds Corvalen's data set: resources.xml, the texts, the rule files, the
menus, the menu backdrop and every picture, font, sound and tune they name.

    /usr/bin/python3 tools/datagen/generate.py [--out DIR]

The output is the same byte for byte on every run (no clock, seeded noise,
fixed Ogg serials), so Resources/Data can be committed and re-made at will."""

import argparse
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import anims        # noqa: E402
import fonts        # noqa: E402
import gamedata     # noqa: E402
import images       # noqa: E402
import menu         # noqa: E402
import menu_scene   # noqa: E402
import sound        # noqa: E402
import texts        # noqa: E402
from common import write_text, xml_attr  # noqa: E402

# Resource paths are relative to the working directory, which is the
# repository (or install) root.
PREFIX = "Resources/Data/"


def element(name, attrs):
    return "  <%s %s/>" % (name, " ".join('%s="%s"' % (k, xml_attr(v)) for k, v in attrs))


def resources_xml(image_decl, anim_decl, font_decl, samples, streams, musics):
    out = ['<?xml version="1.0" encoding="utf-8"?>',
           "<!-- Every resource of the game. Samples, streams and fonts are used by",
           "     position: keep their order. coverage: -2 intro, 0 always, -1 menu,",
           "     1-3 locations, 4 bonus levels, 5 loaded on demand. -->",
           '<Resources type="game">',
           '<SetDefaults path="%s"/>' % PREFIX]
    out.append("<!-- pictures -->")
    for img_id, rel, cov, attrs in image_decl:
        a = [("id", img_id), ("path", rel), ("coverage", cov)] + sorted(attrs.items())
        out.append(element("Image", a))
    out.append("<!-- frame sheets of the animations -->")
    for d in anim_decl:
        i = d["img"]
        out.append(element("Image", [("id", i["id"]), ("path", i["path"]), ("coverage", i["coverage"])]))
    out.append("<!-- samples, in their fixed positions -->")
    for i, s in enumerate(samples):
        out.append(element("Sample", [("id", s["id"]), ("path", s["path"])]) + "  <!-- %d -->" % i)
    out.append("<!-- streams: 0 menu, 1 credits, 2-5 level tunes, 6 bonus -->")
    for i, s in enumerate(streams):
        out.append(element("Stream", [("id", s["id"]), ("path", s["path"])]) + "  <!-- %d -->" % i)
    out.append("<!-- tracker module -->")
    for m in musics:
        out.append(element("Music", [("id", m["id"]), ("path", m["path"])]))
    out.append("<!-- fonts 0 and 1 -->")
    for f in font_decl:
        a = [("id", f["id"]), ("path", f["path"]), ("data_path", f["data_path"])]
        if f["kind"] == "FontFi":
            a.append(("symbols_path", f["symbols_path"]))
        a += [("height", f["height"]), ("max_length", f["max_length"]), ("interval", f["interval"])]
        out.append(element(f["kind"], a))
    out.append("<!-- frame animations -->")
    for d in anim_decl:
        a = d["anim"]
        out.append(element("Animation2D", [("id", a["id"]), ("path", a["path"]), ("image_id", a["image_id"]),
                                          ("width", a["width"]), ("height", a["height"]),
                                          ("f_width", a["f_width"]), ("f_height", a["f_height"]),
                                          ("coverage", a["coverage"])]))
    out.append("</Resources>")
    return "\n".join(out) + "\n"


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--out", default=os.path.join(HERE, "..", "..", "Resources", "Data"),
                    help="output folder (default: the repository's Resources/Data)")
    args = ap.parse_args()
    out = os.path.abspath(args.out)
    os.makedirs(out, exist_ok=True)

    gamedata.write_all(out)
    texts.write_all(out)
    font_decl = fonts.build(out)
    samples, streams, musics = sound.build(out)
    image_decl = images.build(out) + menu.build(out) + menu_scene.build(out)
    anim_decl = anims.build(out)
    write_text(os.path.join(out, "resources.xml"),
               resources_xml(image_decl, anim_decl, font_decl, samples, streams, musics))
    print("data set written to %s" % out)


if __name__ == "__main__":
    main()

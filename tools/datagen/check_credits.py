"""The data check's rule for the credits: the scroller draws its lines in a
fixed order, some in the heading style, and every heading needs a line of
its own under it, never another heading right away. A heading-style line
without letters is an ornament, not a heading.

Called from check_data.py; check_credits_test.py shows the rule failing on
small broken fixtures."""

# The scroller's lines in order: text id and whether it is drawn in the
# heading style (font 1, light yellow) rather than as a plain line.
LINES = [("CREDITS_%d" % n, n in (1, 3, 4, 6, 8, 10, 12)) for n in range(1, 14)] + \
    [("COPYRIGHT", False)]


def is_words(text):
    return any(c.isalpha() for c in text)


def check(texts, fault):
    for (tid, heading), (next_tid, next_heading) in zip(LINES, LINES[1:] + [(None, False)]):
        text = texts.get(tid, "")
        if not heading or not is_words(text):
            continue
        following = texts.get(next_tid, "") if next_tid else ""
        if next_heading and is_words(following):
            fault("%s: the heading \"%s\" is followed at once by the heading %s \"%s\""
                  % (tid, text, next_tid, following))
        elif not is_words(following):
            fault("%s: the heading \"%s\" has no line under it" % (tid, text))

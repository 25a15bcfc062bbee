#!/usr/bin/python3
"""The data check's rule for the credits, against small fixtures: headings
each with a line under them give no fault, an ornament in the heading style
is no heading, and a heading right above another or above nothing gives its
fault.

    /usr/bin/python3 tools/datagen/check_credits_test.py"""

import os
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.dont_write_bytecode = True  # keep the source tree clean
sys.path.insert(0, HERE)

import check_credits  # noqa: E402

# Headings at 1, 3, 4, 6, 8, 10 and 12, each with its line under it; the
# heading-style line 3 carries an ornament.
SOUND = ["Title", "subtitle", "* * *", "Design", "team", "Code", "team", "Art", "us",
         "Sound", "us", "Thanks", "testers"]


def credits(lines, copyright="(c) us"):
    texts = {"CREDITS_%d" % n: text for n, text in enumerate(lines, 1)}
    texts["COPYRIGHT"] = copyright
    return texts


class Credits(unittest.TestCase):
    def faults(self, texts):
        found = []
        check_credits.check(texts, found.append)
        return found

    def test_every_heading_with_a_line_under_it(self):
        self.assertEqual(self.faults(credits(SOUND)), [])

    def test_a_heading_without_a_line_of_its_own(self):
        def changed(**lines):
            out = list(SOUND)
            for key, text in lines.items():
                out[int(key[1:]) - 1] = text
            return out
        cases = [
            (changed(n3="Made with care by"),
             'CREDITS_3: the heading "Made with care by" is followed at once by the heading CREDITS_4 "Design"'),
            (changed(n5=""), 'CREDITS_4: the heading "Design" has no line under it'),
            (changed(n13=" "), 'CREDITS_12: the heading "Thanks" has no line under it'),
        ]
        for lines, fault in cases:
            with self.subTest(fault=fault):
                self.assertEqual(self.faults(credits(lines)), [fault])

    def test_missing_texts_count_as_empty_lines(self):
        texts = credits(SOUND)
        del texts["CREDITS_7"]
        self.assertEqual(self.faults(texts), ['CREDITS_6: the heading "Code" has no line under it'])


if __name__ == "__main__":
    unittest.main()

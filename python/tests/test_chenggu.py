"""The installed module against the command line: the same answer for every kind of request,
the engine's reason for every kind of refusal. CHENGGU names the chenggu executable."""
import datetime
import json
import os
import subprocess
import unittest

import chenggu


def command_line(*arguments):
    done = subprocess.run([os.environ["CHENGGU"], "--json", *arguments], capture_output=True,
                          text=True)
    return json.loads(done.stdout) if done.returncode == 0 else done.stderr


class ReadTest(unittest.TestCase):
    def test_every_kind_of_request_answers_as_the_command_line(self):
        cases = [
            (("1990-01-30", "子"), {}, ()),
            (("1990-01-30", "23:30"), {"late_zi": "next-day"}, ("--late-zi", "next-day")),
            (("2024-02-05", "午"), {"year_start": "spring"}, ("--year-start", "spring")),
            (("2020-闰4-16", "晚子"), {"lunar": True, "leap_month": "split"},
             ("--lunar", "--leap-month", "split")),
            (("2020-4-1",), {"lunar": True}, ("--lunar",)),
            ((datetime.date(2050, 12, 31), "亥"), {}, ()),
            (("1990-07-15", "14:30"), {"place": "成都"}, ("--place", "成都")),
            (("1995-03-15", "08:00"), {"longitude": -74.0, "zone": "America/New_York",
                                       "solar_time": "mean"},
             ("--longitude=-74", "--zone", "America/New_York", "--solar-time", "mean")),
        ]
        for positional, options, flags in cases:
            with self.subTest(positional=positional, options=options):
                text = [str(value) for value in positional]
                self.assertEqual(chenggu.read(*positional, **options),
                                 command_line(*flags, *text))

    def test_refusals_raise_value_error_with_the_engines_reason(self):
        cases = [
            (("2001-02-29", "子"), {}, "February 2001 has 28 days"),
            (("2021-闰4-1",), {"lunar": True}, "has no leap month"),
            (("1990-01-30", "甲"), {}, "not a birth period"),
            (("1990-01-30", "子"), {"late_zi": "midnight"}, "same-day or next-day"),
            (("2050-12-31", "晚子"), {"late_zi": "next-day"}, "2050-12-31"),
            ((19900130, "子"), {}, "must be a string"),
            (("1990-01-30", object()), {}, "cannot be written as JSON"),
            (("1988-04-17", "02:30"), {"place": "北京"}, "never happened"),
        ]
        for positional, options, reason in cases:
            with self.subTest(positional=positional, options=options):
                with self.assertRaises(ValueError) as refused:
                    chenggu.read(*positional, **options)
                self.assertIn(reason, str(refused.exception))

    def test_places_as_the_command_line_lists_them(self):
        self.assertEqual(chenggu.places("成都", limit=50), command_line("--places", "成都"))

    def test_version_is_the_librarys(self):
        done = subprocess.run([os.environ["CHENGGU"], "--version"], capture_output=True,
                              text=True)
        self.assertEqual(done.stdout.split(), ["chenggu", chenggu.__version__])


if __name__ == "__main__":
    unittest.main()

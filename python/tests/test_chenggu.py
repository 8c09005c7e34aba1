"""The installed module against the command line: the same answer for every kind of request,
the engine's reason for every kind of refusal. CHENGGU names the chenggu executable."""
import datetime
import json
import os
import subprocess
import unittest
import zoneinfo

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
            (("1914-11-17", "午"), {"calendar_rule": "computed"}, ("--calendar-rule", "computed")),
            (("1645-闰6-1", "午"), {"lunar": True}, ("--lunar",)),
            ((datetime.date(2100, 12, 31), "亥"), {}, ()),
            (("2024-02-04", "申"), {}, ()),
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

    def test_a_datetime_is_the_clock_time_of_the_birth(self):
        shanghai = datetime.datetime(1990, 7, 15, 14, 30, tzinfo=zoneinfo.ZoneInfo("Asia/Shanghai"))
        self.assertEqual(chenggu.read(shanghai, place="成都"),
                         command_line("1990-07-15", "14:30", "成都"))
        new_york = datetime.datetime(1995, 3, 15, 8, 0, tzinfo=zoneinfo.ZoneInfo("America/New_York"))
        self.assertEqual(chenggu.read(new_york, longitude=-74.0),
                         command_line("1995-03-15", "08:00", "-74.0", "America/New_York"))
        self.assertEqual(chenggu.read(datetime.datetime(1990, 1, 30, 23, 30)),
                         command_line("1990-01-30", "23:30"))

    def test_refusals_raise_chenggu_error_with_the_reason_and_code(self):
        cases = [
            (("2001-02-29", "子"), {}, "no-such-date", "February 2001 has 28 days"),
            (("2021-闰4-1",), {"lunar": True}, "no-such-leap-month", "has no leap month"),
            (("1990-01-30", "甲"), {}, "bad-period", "not a birth period"),
            (("1990-01-30", "子"), {"late_zi": "midnight"}, "unknown-convention",
             "same-day or next-day"),
            (("2100-12-31", "晚子"), {"late_zi": "next-day"}, "reading-day-outside-range",
             "2100-12-31"),
            ((19900130, "子"), {}, "bad-request", "must be a string"),
            (("1990-01-30", object()), {}, "bad-request", "cannot be written as JSON"),
            (("1988-04-17", "02:30"), {"place": "北京"}, "skipped-clock-time", "never happened"),
            (("1990-07-15", "14:30"), {"place": "不存在的地方"}, "unknown-place", "unknown place"),
            (("2001-02-29", "子"), {"language": "zh"}, "no-such-date", "只有 28 天"),
            (("2001-02-29", "子"), {"language": "zh", "script": "traditional"}, "no-such-date",
             "只有 28 天"),
        ]
        for positional, options, code, reason in cases:
            with self.subTest(positional=positional, options=options):
                with self.assertRaises(chenggu.ChengguError) as refused:
                    chenggu.read(*positional, **options)
                self.assertIsInstance(refused.exception, ValueError)
                self.assertEqual(refused.exception.code, code)
                self.assertIn(reason, str(refused.exception))
        with self.assertRaises(chenggu.ChengguError) as refused:
            chenggu.places("成都", limit=0, language="zh")
        self.assertEqual(refused.exception.code, "bad-request")
        self.assertIn("limit", str(refused.exception))

    def test_months_and_dates_for_forms(self):
        lunar_2020 = chenggu.months(2020, "lunar")
        leap = [m for m in lunar_2020["months"] if m["leap"]]
        self.assertEqual(leap, [{"month": 4, "leap": True, "name": "闰四月", "days": 29,
                                 "firstDay": 1, "lastDay": 29}])
        self.assertEqual([m["days"] for m in chenggu.months(2024)["months"]][1], 29)
        self.assertEqual(chenggu.date("2020-闰4-1", lunar=True)["date"], "2020-05-23")
        self.assertEqual(chenggu.date(datetime.date(2020, 5, 23))["lunarDate"], "2020-闰4-1")

    def test_terms_as_the_command_line_lists_them(self):
        self.assertEqual(chenggu.terms(2024), command_line("--terms", "2024")["terms"])
        with self.assertRaises(chenggu.ChengguError) as refused:
            chenggu.terms(2101)
        self.assertEqual(refused.exception.code, "outside-range")

    def test_places_as_the_command_line_lists_them(self):
        self.assertEqual(chenggu.places("成都", limit=50), command_line("--places", "成都"))
        self.assertEqual(chenggu.places("行唐", script="traditional"),
                         command_line("--places", "行唐", "--script", "traditional"))
        self.assertEqual(chenggu.places("朝阳", near="北京市海淀区")[0]["fullName"], "北京市朝阳区")

    def test_version_is_the_librarys(self):
        done = subprocess.run([os.environ["CHENGGU"], "--version"], capture_output=True,
                              text=True)
        self.assertEqual(done.stdout.split(), ["chenggu", chenggu.__version__])


if __name__ == "__main__":
    unittest.main()

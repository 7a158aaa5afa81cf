#!/usr/bin/env python3
"""Checks one record of an essay file byte for byte against the record format.

    check_record.py FILE INDEX NUMBER_ROW ANSWER

INDEX counts from 1 and must be the last record; ANSWER may hold \\r\\n escapes.
The whole file must consist of whole records.
"""
import re
import sys

STARS = rb"\*{20}"
RECORD = re.compile(
    rb"\r\n\r\n" + STARS + rb"\r\n"
    rb"Date: (?P<date>[0-9][0-9./ -]*[0-9])\r\n"
    rb"Time: (?P<time>[0-9]{1,2}:[0-9]{2}:[0-9]{2}(?: ?[AP]M)?)\r\n"
    rb"(?P<number>(?:Issue|Argument) No\.[0-9]+)\r\n" + STARS + rb"\r\n"
    rb"Question:\r\n\r\n(?P<topic>\r\n.+?\r\n)\r\n" + STARS + rb"\r\n\r\n"
    rb"Your Answer:\r\n\r\n(?P<answer>.*?)\r\n(?=\r\n\r\n" + STARS + rb"\r\nDate: |\Z)",
    re.S,
)


def records(data):
    found, pos = [], 0
    while pos < len(data):
        m = RECORD.match(data, pos)
        if not m:
            sys.exit(f"no whole record at byte {pos}: {data[pos:pos + 80]!r}")
        found.append(m)
        pos = m.end()
    return found


def main():
    path, index, number, answer = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
    data = open(path, "rb").read()
    if data.startswith(b"\xef\xbb\xbf"):
        sys.exit("byte-order mark")
    recs = records(data)
    if len(recs) != index:
        sys.exit(f"{len(recs)} records, expected {index}")
    rec = recs[index - 1]
    if rec["number"].decode() != number:
        sys.exit(f"number row {rec['number']!r}")
    want = answer.replace("\\r\\n", "\r\n").encode()
    if rec["answer"] != want:
        sys.exit(f"answer {rec['answer']!r}, expected {want!r}")


main()

#!/usr/bin/env python3
"""Checks that the last record's answer is 'third' followed by every line of the
records saved before it, as Help appends them."""
import sys

data = open(sys.argv[1], "rb").read()
marker = b"Your Answer:\r\n\r\nthird\r\n"
at = data.rfind(marker)
if at < 0:
    sys.exit("no record with the answer 'third'")
earlier = data[at + len(marker):]
if not earlier or not data.startswith(earlier):
    sys.exit("the answer does not hold the earlier records")
if earlier.count(b"Your Answer:") != 2:
    sys.exit(f"{earlier.count(b'Your Answer:')} earlier records in the answer, expected 2")

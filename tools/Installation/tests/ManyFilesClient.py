#!/usr/bin/env python3
"""Fills a client folder with many small files: unpacking them under Wine
takes seconds, long enough to close the installer meanwhile."""
import sys

folder, count = sys.argv[1], int(sys.argv[2])
for i in range(count):
    with open('%s/data/part%04d.txt' % (folder, i), 'w') as part:
        part.write(('part %d\n' % i) * 40)

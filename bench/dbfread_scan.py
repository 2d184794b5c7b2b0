"""Python peer for the table scan benchmark: dbfread, a DBF reader written in
pure Python (Debian's python3-dbfread), reads every record of a table with each
field's bytes as stored (raw=True, so no text or number conversion).

Prints the best records-per-second rate of three passes."""
import sys
import time

from dbfread import DBF

path = sys.argv[1]
best = None
count = 0
for _ in range(3):
    start = time.perf_counter()
    count = 0
    for _record in DBF(path, raw=True, load=False):
        count += 1
    elapsed = time.perf_counter() - start
    best = elapsed if best is None or elapsed < best else best
print(count / best)

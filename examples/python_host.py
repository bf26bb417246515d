"""A Python host through ctypes: the text block of a query turned back into rows.

    python3 python_host.py ./liborvanta64.so /tmp/example.db
"""
import ctypes
import sys

library = ctypes.CDLL(sys.argv[1])
for name in ("fnDBOpen", "fnDBExecute", "fnDBExecuteQuery"):
    getattr(library, name).restype = ctypes.c_int


def utf16(text):
    """A null-terminated UTF-16 string (ctypes' wchar_t is 32 bits on Linux, so bytes it is)."""
    return ctypes.create_string_buffer(text.encode("utf-16-le") + b"\0\0")


def query(sql, max_characters):
    """Rows of a query; the block must fit max_characters (plus its null)."""
    buffer = (ctypes.c_uint16 * (max_characters + 1))()
    records = library.fnDBExecuteQuery(utf16(sql), buffer)
    raw = bytes(buffer)
    end = next(i for i in range(0, len(raw), 2) if raw[i:i + 2] == b"\0\0")
    block = raw[:end].decode("utf-16-le")
    # One line per record ended by CR LF, fields separated by ","; commas inside a field arrived as
    # U+FF0C and CR LF inside a field as the marker KRAVENLIX.
    rows = [line.split(",") for line in block.split("\r\n")[:-1]]
    return records, rows


if library.fnDBOpen(None, utf16("Provider=SQLite;Data Source=" + sys.argv[2])) != 1:
    sys.exit("open failed")
library.fnDBExecute(utf16("CREATE TABLE IF NOT EXISTS city(name TEXT, people INTEGER, area REAL)"))
affected = library.fnDBExecute(utf16(
    "INSERT INTO city VALUES ('Zürich', 421878, 87.88), ('Kraków, Old Town', 779115, 326.8)"))
print("inserted", affected)
records, rows = query("SELECT name, people, area FROM city ORDER BY people", 1 << 16)
print(records, "records")
for name, people, area in rows:
    print(name.replace("\uff0c", ","), int(people), float(area))
library.fnDBClose()

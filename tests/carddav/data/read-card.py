# Reads one vCard file with python3-vobject, a reader independent of ours,
# and prints its values as JSON: property name -> list of values as text.
import json
import sys

import vobject

with open(sys.argv[1], encoding="utf-8") as f:
    card = vobject.readOne(f.read())
values = {}
for child in card.getChildren():
    value = child.value
    if child.name == "N":
        value = ";".join([value.family, value.given, value.additional, value.prefix, value.suffix])
    elif child.name == "ADR":
        value = ";".join([value.street, value.city, value.code, value.country])
    elif isinstance(value, list):
        value = ";".join(value)
    values.setdefault(child.name.lower(), []).append(str(value))
print(json.dumps(values, ensure_ascii=False, sort_keys=True))

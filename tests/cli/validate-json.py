#!/usr/bin/env python3
"""Checks JSON documents against a JSON Schema with the jsonschema package.

    validate-json.py SCHEMA DOCUMENT...

Prints one line per violation and exits 1 when there is any, 2 when the schema itself is wrong.
"""
import json
import sys

import jsonschema


def main(schema_path, documents):
    with open(schema_path, encoding="utf-8") as f:
        schema = json.load(f)
    validator_class = jsonschema.validators.validator_for(schema)
    try:
        validator_class.check_schema(schema)
    except jsonschema.SchemaError as error:
        print(f"{schema_path}: {error.message}")
        return 2
    validator = validator_class(schema, format_checker=jsonschema.FormatChecker())
    failed = False
    for path in documents:
        with open(path, encoding="utf-8") as f:
            document = json.load(f)
        for error in sorted(validator.iter_errors(document), key=lambda e: list(e.absolute_path)):
            where = "/".join(str(part) for part in error.absolute_path)
            print(f"{path}: /{where}: {error.message}")
            failed = True
    return 1 if failed else 0


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2:]))

#!/usr/bin/env python3
"""Fails when a source file includes a header of a higher layer than its own folder.

The folders of src/ from the top down; folders on one line are one layer and do not include
each other. Everything under src/ must sit in one of them.
"""
import pathlib
import re
import sys

LAYERS = [
    ["app"],
    ["invoice", "setup", "document"],
    ["net"],
    ["settings"],
    ["hotkey"],
    ["ui"],
    ["counting"],
    ["base"],
]

INCLUDE = re.compile(r'^\s*#\s*include\s+"([a-z_0-9]+)/', re.MULTILINE)


def main(source_root):
    rank = {folder: level for level, folders in enumerate(LAYERS) for folder in folders}
    faults = []
    for path in sorted(pathlib.Path(source_root).rglob("*")):
        if path.suffix not in (".h", ".cpp"):
            continue
        folder = path.relative_to(source_root).parts[0]
        if folder not in rank:
            faults.append(f"{path}: folder '{folder}' has no layer")
            continue
        for target in INCLUDE.findall(path.read_text(encoding="latin-1")):
            if target not in rank:
                faults.append(f"{path}: includes from '{target}', which has no layer")
            elif target != folder and rank[target] <= rank[folder]:
                faults.append(f"{path}: {folder} includes from {target}, "
                              f"which is {'beside' if rank[target] == rank[folder] else 'above'} it")
    for fault in faults:
        print(fault)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "src"))

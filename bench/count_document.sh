#!/usr/bin/env bash
# Times quillmet-count on a .docx of about 10 MB, end to end (reading the file, the zip, the
# XML, counting), made here with Python's zipfile from random words.
# Usage: bench/count_document.sh [QUILLMET_COUNT]   (default: the release build's)
set -euo pipefail
tool=${1:-build/release/tools/quillmet-count/quillmet-count}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 - "$work/ten.docx" <<'PY'
import random, sys, zipfile
rng = random.Random(19)
letters = "etaoinshrdlucmwfgypbvk" + "éàü"
paragraphs = []
size = 0
while size < 19 * 1024 * 1024:
    words = [''.join(rng.choice(letters) for _ in range(rng.randint(1, 9)))
             for _ in range(rng.randint(5, 60))]
    paragraphs.append('<w:p><w:r><w:t xml:space="preserve">' + ' '.join(words) +
                      '</w:t></w:r></w:p>')
    size += len(paragraphs[-1])
xml = ('<?xml version="1.0" encoding="UTF-8"?><w:document xmlns:w="http://schemas.'
       'openxmlformats.org/wordprocessingml/2006/main"><w:body>' + ''.join(paragraphs) +
       '</w:body></w:document>')
with zipfile.ZipFile(sys.argv[1], 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('[Content_Types].xml', '<Types/>')
    z.writestr('word/document.xml', xml)
PY
echo "document: $(stat -c %s "$work/ten.docx") bytes"
for run in 1 2 3; do
  start=$(date +%s.%N)
  "$tool" "$work/ten.docx" >/dev/null
  end=$(date +%s.%N)
  seconds=$(echo "$end - $start" | bc)
  echo "run $run: $seconds s"
done

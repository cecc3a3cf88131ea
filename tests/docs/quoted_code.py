"""Every code block that a page in docs/ quotes from a file (the block follows
a "<!-- quoted from FILE -->" line) is a run of that file's lines, indentation
aside; no page keeps a Doxygen snippet command.  quoted_code.py SOURCE_DIR"""
import pathlib
import re
import sys
import textwrap

root = pathlib.Path(sys.argv[1])
quote = re.compile(r"<!-- quoted from (\S+) -->\n```\w*\n(.*?)\n```", re.S)
checked, wrong = 0, []
for page in sorted((root / "docs").glob("*.md")):
    text = page.read_text()
    if re.search(r"^\\snippet", text, re.M):
        wrong.append(f"{page.name}: a \\snippet line")
    for path, block in quote.findall(text):
        lines, want = (root / path).read_text().splitlines(), block.splitlines()
        runs = (textwrap.dedent("\n".join(lines[i : i + len(want)])) for i in range(len(lines)))
        checked += 1
        if textwrap.dedent(block) not in runs:
            wrong.append(f"{page.name}: this block is not in {path}:\n{block}")
print(f"{checked} quoted blocks checked", *wrong, sep="\n")
sys.exit(1 if wrong or not checked else 0)

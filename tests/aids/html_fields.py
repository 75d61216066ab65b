#!/usr/bin/python3
"""Reads an HTML page with the standard library's HTML parser and prints what a browser would
show of its form: one line per item, tab-separated, values with character references resolved.

  charset <value>        the meta charset
  title <text>
  input <name> <value>   every input element
  option <name> <value> <text>
  text <text>            every run of text outside script elements
"""
import sys
from html.parser import HTMLParser


class Form(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.lines = []
        self.option = None
        self.in_script = False
        self.in_title = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag == "meta" and "charset" in a:
            self.lines.append(("charset", a["charset"]))
        elif tag == "input":
            self.lines.append(("input", a.get("name") or "", a.get("value") or ""))
        elif tag == "option":
            self.option = [a.get("name") or "", a.get("value") or "", ""]
        elif tag == "script":
            self.in_script = True
        elif tag == "title":
            self.in_title = True

    def handle_endtag(self, tag):
        if tag == "option" and self.option is not None:
            self.lines.append(("option", *self.option))
            self.option = None
        elif tag == "script":
            self.in_script = False
        elif tag == "title":
            self.in_title = False

    def handle_data(self, data):
        if self.option is not None:
            self.option[2] += data
        elif self.in_title:
            self.lines.append(("title", data))
        elif not self.in_script and data.strip():
            self.lines.append(("text", data.strip()))


with open(sys.argv[1], "rb") as f:
    raw = f.read()
parser = Form()
parser.feed(raw.decode("utf-8"))
parser.close()
for line in parser.lines:
    print("\t".join(part.replace("\t", " ").replace("\n", " ").replace("\r", " ") for part in line))

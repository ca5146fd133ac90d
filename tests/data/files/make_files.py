#!/usr/bin/python3
"""Makes the committed test workbooks with two real spreadsheet programs.

Run once by hand, from this folder, on Debian 12 with the producers installed:
    apt-get install --no-install-recommends libreoffice-calc-nogui python3-openpyxl
    /usr/bin/python3 make_files.py
The test run never calls the producers: it reads the files written here and
compares their cells with expected.json, which holds what each producer was
given (as text, the way a cell's stored value reads).

Files:
  lo_basic.xlsx / .ods / .xml  LibreOffice Calc, from basic.fods (our own flat
                               document): rich text, a formula, dates, three
                               sheets, a blank middle row, column AA, numbers,
                               leading zeros, non-Latin text.
  op_basic.xlsx                openpyxl: the same cells (plain strings, which
                               it writes as inline strings; a formula without a
                               cached value, since it computes nothing).
  op_isodates.xlsx             openpyxl with ISO dates (cells of type "d").
  Variants of lo_basic.xlsx, each as another producer would write it:
  lo_reordered.xlsx   sheet parts numbered against the sheet order
  lo_prefixed.xlsx    SpreadsheetML with an "x:" prefix instead of a default namespace
  lo_strict.xlsx      the strict namespaces
  lo_uppercase.xlsx   part names in capitals
  lo_noref.xlsx       cells without references where they follow the cell before
  lo_nodim.xlsx       no dimension elements
  lo_wrongdim.xlsx    every dimension "A1"
  Files the reader refuses, each with its own message (made by
  `/usr/bin/python3 make_files.py refused`, which needs python3-uno as well):
  lo_password.xlsx    LibreOffice Calc, a one-sheet document saved as
                      "Calc MS Excel 2007 XML" with the password "zorv" (through
                      LibreOffice's own API, the encryption data "OOXPassword"
                      and "CryptoType" "Standard",
                      since --convert-to sets none): an encrypted package
                      inside a compound document, not a zip.
  lo_old.xls          the same document converted to "MS Excel 97".
"""
import datetime
import json
import os
import re
import shutil
import subprocess
import tempfile
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))

# ---- What the producers are given ----
# Cells: ("s", text), ("rich", [(text, bold), ...]), ("n", number text),
# ("date", date), ("f", formula over column C of the same row, cached value text).
D1 = datetime.date(2024, 3, 15)
D2 = datetime.date(2000, 1, 1)
MAIN = {
    1: {0: ("s", "Name"), 1: ("s", "Code"), 2: ("s", "Amount"), 3: ("s", "When"), 4: ("s", "Doubled"),
        26: ("s", "Far")},
    2: {0: ("rich", [("A", True), ("nn", False)]), 1: ("s", "0012"), 2: ("n", "12"), 3: ("date", D1),
        4: ("f", "C2*2", "24"), 26: ("s", "aa-value")},
    # row 3 is left blank
    4: {0: ("s", "Zoë & <Co>"), 1: ("s", "007"), 2: ("n", "3.5"), 3: ("date", D2), 4: ("f", "C4*2", "7")},
    5: {0: ("s", "東京"), 1: ("s", "Привет"), 2: ("s", "Ωμέγα"), 3: ("s", "😀 emoji"), 4: ("s", "مرحبا")},
}
SECOND = {1: {0: ("s", "x"), 1: ("s", "y")}, 2: {0: ("n", "1"), 1: ("n", "2")}}
THIRD = {1: {0: ("s", "only")}}
SHEETS = [("Main", MAIN), ("Second", SECOND), ("Third", THIRD)]


def serial(d):
    return str((d - datetime.date(1899, 12, 30)).days)


def plain(cell):
    kind = cell[0]
    if kind == "rich":
        return "".join(t for t, _ in cell[1])
    return cell[1]


def xlsx_text(cell, producer):
    kind = cell[0]
    if kind == "rich":
        return plain(cell)
    if kind in ("s", "n"):
        return cell[1]
    if kind == "date":
        return cell[1].isoformat() + "T00:00:00" if producer == "op_iso" else serial(cell[1])
    if kind == "f":
        # openpyxl computes nothing: its formula cells carry no cached value.
        return "" if producer.startswith("op") else cell[2]
    raise ValueError(kind)


def ods_text(cell, xml2003=False):
    kind = cell[0]
    if kind == "date":
        # The cell's text as shown (our date style), or the 2003 format's date value.
        return cell[1].isoformat() + ("T00:00:00.000" if xml2003 else "")
    if kind == "f":
        return cell[2]
    return plain(cell)


def table(rows, text, keep_blank_rows):
    """The table a reader gives: rows in order, every row as wide as the sheet."""
    width = max(max(r.keys()) for r in rows.values()) + 1
    out = []
    for n in range(1, max(rows) + 1):
        if n not in rows:
            if keep_blank_rows:
                out.append([])
            continue
        out.append([text(rows[n][c]) if c in rows[n] else "" for c in range(width)])
    return out


def ragged(rows):
    """Rows as the one-entry-per-cell readers give them: trailing empties dropped."""
    out = []
    for r in rows:
        r = list(r)
        while r and r[-1] == "":
            r.pop()
        out.append(r)
    while out and not out[-1]:
        out.pop()
    return out


# ---- LibreOffice ----
def fods():
    def esc(s):
        return s.replace("&", "&amp;").replace("<", "&lt;").replace(">", "&gt;")

    def cell(c):
        kind = c[0]
        if kind == "s":
            return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % esc(c[1])
        if kind == "rich":
            parts = "".join('<text:span text:style-name="T1">%s</text:span>' % esc(t) if b else esc(t)
                            for t, b in c[1])
            return '<table:table-cell office:value-type="string"><text:p>%s</text:p></table:table-cell>' % parts
        if kind == "n":
            return ('<table:table-cell office:value-type="float" office:value="%s"><text:p>%s</text:p>'
                    '</table:table-cell>' % (c[1], c[1]))
        if kind == "date":
            return ('<table:table-cell table:style-name="ceD" office:value-type="date" office:date-value="%s">'
                    '<text:p>%s</text:p></table:table-cell>' % (c[1].isoformat(), c[1].isoformat()))
        if kind == "f":
            ref = c[1].split("*")[0]
            return ('<table:table-cell table:formula="of:=[.%s]*2" office:value-type="float" office:value="%s">'
                    '<text:p>%s</text:p></table:table-cell>' % (ref, c[2], c[2]))
        raise ValueError(kind)

    def sheet(name, rows):
        out = ['<table:table table:name="%s">' % name]
        last = 0
        for n in sorted(rows):
            if n > last + 1:
                out.append('<table:table-row table:number-rows-repeated="%d"><table:table-cell/></table:table-row>'
                           % (n - last - 1))
            out.append("<table:table-row>")
            col = 0
            for c in sorted(rows[n]):
                if c > col:
                    out.append('<table:table-cell table:number-columns-repeated="%d"/>' % (c - col))
                out.append(cell(rows[n][c]))
                col = c + 1
            out.append("</table:table-row>")
            last = n
        out.append("</table:table>")
        return "".join(out)

    body = "".join(sheet(n, r) for n, r in SHEETS)
    return """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0"
 xmlns:number="urn:oasis:names:tc:opendocument:xmlns:datastyle:1.0"
 xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:automatic-styles>
 <number:date-style style:name="N1"><number:year number:style="long"/><number:text>-</number:text>
  <number:month number:style="long"/><number:text>-</number:text><number:day number:style="long"/></number:date-style>
 <style:style style:name="ceD" style:family="table-cell" style:parent-style-name="Default" style:data-style-name="N1"/>
 <style:style style:name="T1" style:family="text"><style:text-properties fo:font-weight="bold"/></style:style>
</office:automatic-styles>
<office:body><office:spreadsheet>%s</office:spreadsheet></office:body>
</office:document>
""" % body


def libreoffice(src, fmt, out_dir):
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    try:
        subprocess.run(["soffice", "-env:UserInstallation=file://" + profile, "--headless",
                        "--convert-to", fmt, "--outdir", out_dir, src], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    finally:
        shutil.rmtree(profile, ignore_errors=True)


def small_fods():
    """A one-sheet document of two cells, for the files the reader refuses."""
    return """<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0"
 xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0"
 xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0"
 office:version="1.2" office:mimetype="application/vnd.oasis.opendocument.spreadsheet">
<office:body><office:spreadsheet><table:table table:name="Data"><table:table-row>
<table:table-cell office:value-type="string"><text:p>Code</text:p></table:table-cell>
<table:table-cell office:value-type="string"><text:p>secret</text:p></table:table-cell>
</table:table-row></table:table></office:spreadsheet></office:body>
</office:document>
"""


def libreoffice_store(src, dst, filter_name, password):
    """Saves `src` through LibreOffice's own API, with a password."""
    import time
    import uno
    from com.sun.star.beans import NamedValue, PropertyValue

    def prop(name, value):
        p = PropertyValue()
        p.Name, p.Value = name, value
        return p

    if os.path.exists(dst):
        os.remove(dst)
    desktop = None
    profile = tempfile.mkdtemp(prefix="lo-profile-")
    office = subprocess.Popen(["soffice", "-env:UserInstallation=file://" + profile, "--headless", "--invisible",
                               "--accept=pipe,name=zorvfiles;urp;"],
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        local = uno.getComponentContext()
        resolver = local.ServiceManager.createInstanceWithContext("com.sun.star.bridge.UnoUrlResolver", local)
        for _ in range(100):
            try:
                ctx = resolver.resolve("uno:pipe,name=zorvfiles;urp;StarOffice.ComponentContext")
                break
            except Exception:
                time.sleep(0.2)
        desktop = ctx.ServiceManager.createInstanceWithContext("com.sun.star.frame.Desktop", ctx)
        doc = desktop.loadComponentFromURL(uno.systemPathToFileUrl(src), "_blank", 0, (prop("Hidden", True),))
        # The OOXML filter takes its password and kind of encryption from the
        # encryption data.
        data = []
        for name, value in (("OOXPassword", password), ("CryptoType", "Standard")):
            v = NamedValue()
            v.Name, v.Value = name, value
            data.append(v)
        doc.storeToURL(uno.systemPathToFileUrl(dst),
                       (prop("FilterName", filter_name),
                        prop("EncryptionData", uno.Any("[]com.sun.star.beans.NamedValue", tuple(data)))))
        doc.close(True)
    finally:
        try:
            desktop.terminate()
        except Exception:
            pass
        try:
            office.wait(timeout=60)
        except subprocess.TimeoutExpired:
            office.kill()
        shutil.rmtree(profile, ignore_errors=True)


def make_refused_files():
    work = tempfile.mkdtemp(prefix="zorv-files-")
    try:
        src = os.path.join(work, "lo_old.fods")
        with open(src, "w", encoding="utf-8") as f:
            f.write(small_fods())
        libreoffice(src, "xls:MS Excel 97", work)
        shutil.copy(os.path.join(work, "lo_old.xls"), os.path.join(HERE, "lo_old.xls"))
        libreoffice_store(src, os.path.join(HERE, "lo_password.xlsx"), "Calc MS Excel 2007 XML", "zorv")
    finally:
        shutil.rmtree(work, ignore_errors=True)


# ---- openpyxl ----
def openpyxl_book(path, iso):
    import openpyxl
    wb = openpyxl.Workbook()
    wb.iso_dates = iso
    first = True
    for name, rows in SHEETS:
        ws = wb.active if first else wb.create_sheet()
        first = False
        ws.title = name
        for n, cells in rows.items():
            for c, cell in cells.items():
                kind = cell[0]
                target = ws.cell(row=n, column=c + 1)
                if kind in ("s", "rich"):
                    target.value = plain(cell)
                    target.data_type = "s"
                elif kind == "n":
                    target.value = int(cell[1]) if cell[1].isdigit() else float(cell[1])
                elif kind == "date":
                    target.value = datetime.datetime.combine(cell[1], datetime.time())
                elif kind == "f":
                    target.value = "=" + cell[1]
    wb.save(path)


# ---- Variants ----
TRANSITIONAL_TO_STRICT = [
    ("http://schemas.openxmlformats.org/spreadsheetml/2006/main", "http://purl.oclc.org/ooxml/spreadsheetml/main"),
    ("http://schemas.openxmlformats.org/officeDocument/2006/relationships/",
     "http://purl.oclc.org/ooxml/officeDocument/relationships/"),
    ("http://schemas.openxmlformats.org/officeDocument/2006/relationships",
     "http://purl.oclc.org/ooxml/officeDocument/relationships"),
]


def rewrite(src, dst, change_name=lambda n: n, change_data=lambda n, d: d):
    with zipfile.ZipFile(src) as zin, zipfile.ZipFile(dst, "w", zipfile.ZIP_DEFLATED) as zout:
        for info in zin.infolist():
            data = change_data(info.filename, zin.read(info.filename))
            zout.writestr(change_name(info.filename), data)


def prefix_spreadsheetml(name, data):
    if not name.endswith(".xml") or not name.startswith("xl/"):
        return data
    text = data.decode("utf-8")
    ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"'
    if ns not in text:
        return data
    text = text.replace(ns, 'xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main"')
    text = re.sub(r"<(/?)([A-Za-z][\w]*)(?=[\s/>])", r"<\1x:\2", text)
    return text.encode("utf-8")


def drop_refs(name, data):
    """Removes the reference of every cell that directly follows the cell before it."""
    if not re.match(r"xl/worksheets/sheet\d+\.xml$", name):
        return data
    text = data.decode("utf-8")

    def row(m):
        prev = [None]

        def cell(c):
            ref = c.group(1)
            letters = re.match(r"[A-Z]+", ref).group(0)
            col = 0
            for ch in letters:
                col = col * 26 + ord(ch) - 64
            keep = prev[0] is None or col != prev[0] + 1
            prev[0] = col
            return c.group(0) if keep else c.group(0).replace(' r="%s"' % ref, "")
        return re.sub(r'<c r="([A-Z]+\d+)"', cell, m.group(0))
    return re.sub(r"<row .*?</row>", row, text, flags=re.S).encode("utf-8")


def main():
    work = tempfile.mkdtemp(prefix="zorv-files-")
    try:
        src = os.path.join(work, "lo_basic.fods")
        with open(src, "w", encoding="utf-8") as f:
            f.write(fods())
        libreoffice(src, "xlsx:Calc MS Excel 2007 XML", work)
        libreoffice(src, "ods", work)
        libreoffice(src, "xml:MS Excel 2003 XML", work)
        for ext in ("xlsx", "ods", "xml"):
            shutil.copy(os.path.join(work, "lo_basic." + ext), os.path.join(HERE, "lo_basic." + ext))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    openpyxl_book(os.path.join(HERE, "op_basic.xlsx"), False)
    openpyxl_book(os.path.join(HERE, "op_isodates.xlsx"), True)

    base = os.path.join(HERE, "lo_basic.xlsx")
    out = lambda n: os.path.join(HERE, n)
    swap = {"xl/worksheets/sheet1.xml": "xl/worksheets/sheet3.xml",
            "xl/worksheets/sheet3.xml": "xl/worksheets/sheet1.xml",
            "xl/worksheets/_rels/sheet1.xml.rels": "xl/worksheets/_rels/sheet3.xml.rels",
            "xl/worksheets/_rels/sheet3.xml.rels": "xl/worksheets/_rels/sheet1.xml.rels"}

    def swap_rels(name, data):
        if name == "xl/_rels/workbook.xml.rels":
            t = data.decode()
            t = t.replace("worksheets/sheet1.xml", "@@").replace("worksheets/sheet3.xml", "worksheets/sheet1.xml")
            return t.replace("@@", "worksheets/sheet3.xml").encode()
        if name == "[Content_Types].xml":
            return data
        return data
    rewrite(base, out("lo_reordered.xlsx"), lambda n: swap.get(n, n), swap_rels)
    rewrite(base, out("lo_prefixed.xlsx"), change_data=prefix_spreadsheetml)

    def strict(name, data):
        if not (name.endswith(".xml") or name.endswith(".rels")):
            return data
        t = data.decode("utf-8")
        for a, b in TRANSITIONAL_TO_STRICT:
            t = t.replace(a, b)
        return t.encode("utf-8")
    rewrite(base, out("lo_strict.xlsx"), change_data=strict)
    rewrite(base, out("lo_uppercase.xlsx"), change_name=lambda n: n.upper())
    rewrite(base, out("lo_noref.xlsx"), change_data=drop_refs)
    rewrite(base, out("lo_nodim.xlsx"),
            change_data=lambda n, d: re.sub(rb"<dimension [^>]*/>", b"", d) if n.startswith("xl/worksheets/") else d)
    rewrite(base, out("lo_wrongdim.xlsx"),
            change_data=lambda n, d: re.sub(rb'<dimension ref="[^"]*"/>', b'<dimension ref="A1"/>', d)
            if n.startswith("xl/worksheets/") else d)

    # ---- What each file must read as ----
    names = [n for n, _ in SHEETS]
    expected = {}
    lo = {n: table(r, lambda c: xlsx_text(c, "lo"), False) for n, r in SHEETS}
    for f in ("lo_basic.xlsx", "lo_reordered.xlsx", "lo_prefixed.xlsx", "lo_strict.xlsx",
              "lo_uppercase.xlsx", "lo_noref.xlsx", "lo_nodim.xlsx", "lo_wrongdim.xlsx"):
        expected[f] = {"sheets": names, "tables": lo}
    expected["op_basic.xlsx"] = {"sheets": names,
                                 "tables": {n: table(r, lambda c: xlsx_text(c, "op"), False) for n, r in SHEETS}}
    expected["op_isodates.xlsx"] = {"sheets": names,
                                    "tables": {n: table(r, lambda c: xlsx_text(c, "op_iso"), False)
                                               for n, r in SHEETS}}
    # The other formats read the first sheet only, one entry per cell.
    expected["lo_basic.ods"] = {"sheets": names[:1],
                                "tables": {"Main": ragged(table(MAIN, ods_text, True))}}
    expected["lo_basic.xml"] = {"sheets": names[:1],
                                "tables": {"Main": ragged(table(MAIN, lambda c: ods_text(c, True), True))}}
    with open(os.path.join(HERE, "expected.json"), "w", encoding="utf-8") as f:
        json.dump(expected, f, ensure_ascii=False, indent=1)
        f.write("\n")


if __name__ == "__main__":
    import sys
    if sys.argv[1:] == ["refused"]:
        make_refused_files()
    else:
        main()

#!/usr/bin/env python3
"""Builds the label-sheet catalogue of the application from a collection of
label-sheet templates.

    tools/make_label_catalogue.py SOURCE_DIR OUTPUT_DIR

SOURCE_DIR holds the template collection (files "*-templates.xml" with
"Template" elements, "paper-sizes.xml", "vendors.xml" and the collection's
licence in "COPYRIGHT"). OUTPUT_DIR receives one catalogue file per vendor,
"<vendor>.xml", each "product" element one label sheet, in the form the
catalogue reader of the print window, the new-card wizard and the card panel
reads (print/LabelCatalogue.h), together with the collection's COPYRIGHT and a
NOTICE saying where the data comes from. Every length is written in
millimetres. A template whose labels overlap their neighbours, or whose grid
reaches past the sheet, by at most 3 mm has its cells trimmed by that much;
several grids that together make one even grid become that grid. Templates
the catalogue cannot express are left out. What was trimmed and what was left
out (with the reason) are listed on standard output.

Only the Python standard library is used; the output does not depend on the
order of the file listing, so running the tool again gives the same files.
"""
import collections
import os
import re
import shutil
import sys
import xml.etree.ElementTree as ET

NOTICE = """The label-sheet catalogue in this folder (the files "*.xml") was converted by
tools/make_label_catalogue.py from a public collection of label-sheet templates
as Debian ships it. The template collection, and with it this converted data,
is free software: you can redistribute it and/or modify it under the terms of
the GNU General Public License as published by the Free Software Foundation,
either version 2 of the License, or (at your option) any later version.
Its authors and its licence are listed in COPYRIGHT in this folder.
"""

FILE_COMMENT = (
    " Label sheets of {vendor}, converted by tools/make_label_catalogue.py from a public\n"
    "     collection of label-sheet templates. GNU General Public License, version 2 or\n"
    "     (at your option) any later version; authors and licence in COPYRIGHT in this\n"
    "     folder, see also NOTICE. ")

# Lengths in the collection: a number with an optional unit; none means points.
UNIT_MM = {"mm": 1.0, "cm": 10.0, "in": 25.4, "pt": 25.4 / 72.0, "pc": 25.4 / 6.0, "": 25.4 / 72.0}
LENGTH_RE = re.compile(r"^\s*([-+]?(?:[0-9]+\.?[0-9]*|\.[0-9]+)(?:[eE][-+]?[0-9]+)?)\s*([a-zA-Z]*)\s*$")

# How far a grid may reach past the sheet edge, or a label past the next one's
# start, and still be taken as meant to fit (mm): the collection rounds sizes
# and pitches to tenths of a point or hundredths of a millimetre.
FIT_TOLERANCE_MM = 0.05

# The most a label is trimmed where the collection has labels overlap their
# neighbours or the grid reach past the sheet (mm). Such sheets are real
# products whose numbers were rounded or measured loosely; trimming keeps
# every label's left and top edge where the collection puts it and cuts the
# cells by the overlap or the overhang.
TRIM_LIMIT_MM = 3.0


class LeftOut(Exception):
    pass


def local(tag):
    return tag.rsplit("}", 1)[-1]


def length_mm(text, what):
    if text is None:
        raise LeftOut("no " + what)
    m = LENGTH_RE.match(text)
    if not m or m.group(2).lower() not in UNIT_MM:
        raise LeftOut("unreadable %s %r" % (what, text))
    return float(m.group(1)) * UNIT_MM[m.group(2).lower()]


def fmt(mm):
    """Millimetres with at most four decimals, no trailing zeros."""
    text = "%.4f" % mm
    text = text.rstrip("0").rstrip(".")
    return "0" if text in ("-0", "") else text


def read_paper_sizes(path):
    sizes = {}
    for p in ET.parse(path).getroot().iter():
        if local(p.tag) != "Paper-size":
            continue
        name = p.get("_name") or p.get("name") or p.get("id")
        sizes[p.get("id")] = (name, length_mm(p.get("width"), "paper width"),
                              length_mm(p.get("height"), "paper height"))
    return sizes


def read_vendor_names(path):
    names = {}
    if os.path.exists(path):
        for v in ET.parse(path).getroot().iter():
            if local(v.tag) == "Vendor" and v.get("name"):
                names[v.get("name").lower()] = v.get("name")
    return names


def read_templates(source):
    """Every template of the collection in file-name order, then document order."""
    templates = []
    for name in sorted(os.listdir(source)):
        if not name.endswith("-templates.xml"):
            continue
        root = ET.parse(os.path.join(source, name)).getroot()
        for t in root.iter():
            if local(t.tag) == "Template":
                templates.append((name, t))
    return templates


def shape_of(label):
    """Shape word, corner radius (mm), bounding width and height (mm), hole radius (mm)."""
    kind = local(label.tag)
    if kind == "Label-rectangle":
        w = length_mm(label.get("width"), "label width")
        h = length_mm(label.get("height"), "label height")
        try:
            r = length_mm(label.get("round"), "corner radius") if label.get("round") else 0.0
        except LeftOut:
            r = 0.0   # a corner radius without a number: the sheet is still usable
        return ("roundedRectangle" if r > 0 else "rectangle"), r, w, h, 0.0
    if kind == "Label-round":
        r = length_mm(label.get("radius"), "radius")
        return "round", r, 2 * r, 2 * r, 0.0
    if kind == "Label-ellipse":
        return ("ellipse", 0.0, length_mm(label.get("width"), "label width"),
                length_mm(label.get("height"), "label height"), 0.0)
    if kind == "Label-cd":
        r = length_mm(label.get("radius"), "radius")
        hole = length_mm(label.get("hole"), "hole") if label.get("hole") else 0.0
        # A CD label cut square (business-card CDs) gives its width and height.
        w = length_mm(label.get("width"), "label width") if label.get("width") else 2 * r
        h = length_mm(label.get("height"), "label height") if label.get("height") else 2 * r
        return "cd", r, w, h, hole
    raise LeftOut("label shape %s" % kind)


def layout_numbers(lay, w, h):
    """nx, ny, x0, y0, dx, dy (mm) of one Layout element; an empty x0 or y0 is 0."""
    nx, ny = int(lay.get("nx", "1")), int(lay.get("ny", "1"))
    if nx < 1 or ny < 1:
        raise LeftOut("empty grid")
    x0 = length_mm(lay.get("x0") or "0", "x0")
    y0 = length_mm(lay.get("y0") or "0", "y0")
    dx = length_mm(lay.get("dx"), "dx") if nx > 1 else w
    dy = length_mm(lay.get("dy"), "dy") if ny > 1 else h
    return nx, ny, x0, y0, dx, dy


def even_steps(values):
    """Sorted distinct values (merged within the tolerance) and their common
    step, or None when they are not evenly spaced."""
    distinct = []
    for v in sorted(values):
        if not distinct or v - distinct[-1] > FIT_TOLERANCE_MM:
            distinct.append(v)
    if len(distinct) == 1:
        return distinct, None
    step = (distinct[-1] - distinct[0]) / (len(distinct) - 1)
    for i, v in enumerate(distinct):
        if abs(v - (distinct[0] + i * step)) > FIT_TOLERANCE_MM:
            return None
    return distinct, step


def one_grid(layouts, w, h):
    """Several Layout elements that together place the labels of one even
    grid (every row and column full, equal steps) as that grid's numbers."""
    cells = []
    for lay in layouts:
        nx, ny, x0, y0, dx, dy = layout_numbers(lay, w, h)
        cells += [(x0 + i * dx, y0 + j * dy) for i in range(nx) for j in range(ny)]
    xs = even_steps([x for x, _ in cells])
    ys = even_steps([y for _, y in cells])
    if xs is None or ys is None:
        return None
    (cols, dx), (rows, dy) = xs, ys
    if len(cols) * len(rows) != len(cells):
        return None
    taken = set()
    for x, y in cells:
        i = min(range(len(cols)), key=lambda k: abs(cols[k] - x))
        j = min(range(len(rows)), key=lambda k: abs(rows[k] - y))
        taken.add((i, j))
    if len(taken) != len(cells):
        return None
    return len(cols), len(rows), cols[0], rows[0], dx if dx else w, dy if dy else h


def geometry(t, papers, trims):
    """The catalogue numbers of a template; what had to be trimmed to make
    them is appended to `trims` as text."""
    labels = [c for c in t if local(c.tag).startswith("Label-")]
    if len(labels) != 1:
        raise LeftOut("%d label kinds on one sheet" % len(labels))
    label = labels[0]
    shape, radius, w, h, hole = shape_of(label)
    if not (w > 0 and h > 0):
        raise LeftOut("label without a size")
    layouts = [c for c in label if local(c.tag) == "Layout"]
    if not layouts:
        raise LeftOut("0 label grids on one sheet")
    if len(layouts) == 1:
        nx, ny, x0, y0, dx, dy = layout_numbers(layouts[0], w, h)
    else:
        grid = one_grid(layouts, w, h)
        if grid is None:
            raise LeftOut("%d label grids on one sheet (the catalogue has one grid a sheet)" % len(layouts))
        nx, ny, x0, y0, dx, dy = grid
    hgap = dx - w if nx > 1 else 0.0
    vgap = dy - h if ny > 1 else 0.0
    if hgap < -(TRIM_LIMIT_MM + FIT_TOLERANCE_MM) or vgap < -(TRIM_LIMIT_MM + FIT_TOLERANCE_MM):
        raise LeftOut("labels overlap (pitch smaller than the label by %.2f mm)" % max(-hgap, -vgap))
    # Labels that overlap their neighbours: the cell takes the pitch, which
    # keeps every label where the sheet has it. Within a rounding error the
    # labels just touch, and that is not worth a line.
    if hgap < 0:
        if hgap < -FIT_TOLERANCE_MM:
            trims.append("labels overlap across by %.2f mm: width %s -> %s mm" % (-hgap, fmt(w), fmt(dx)))
        w, hgap = dx, 0.0
    if vgap < 0:
        if vgap < -FIT_TOLERANCE_MM:
            trims.append("labels overlap down by %.2f mm: height %s -> %s mm" % (-vgap, fmt(h), fmt(dy)))
        h, vgap = dy, 0.0
    if x0 < -1e-6 or y0 < -1e-6:
        raise LeftOut("grid starts outside the sheet")

    size = t.get("size")
    if size == "Other" or size is None:
        pw = length_mm(t.get("width"), "sheet width")
        ph = length_mm(t.get("height"), "sheet height")
        paper = None
    elif size in papers:
        paper, pw, ph = papers[size]
    else:
        raise LeftOut("unknown paper size %r" % size)
    if not (pw > 0 and ph > 0):
        raise LeftOut("sheet without a size")
    right = x0 + (nx - 1) * dx + w
    bottom = y0 + (ny - 1) * dy + h
    over_x, over_y = right - pw, bottom - ph
    if over_x > TRIM_LIMIT_MM + FIT_TOLERANCE_MM or over_y > TRIM_LIMIT_MM + FIT_TOLERANCE_MM:
        raise LeftOut("labels reach beyond the sheet (%.2f x %.2f mm grid on %.2f x %.2f mm)"
                      % (right, bottom, pw, ph))
    # A grid that reaches a little past the sheet: every cell is cut by the
    # overhang, so the last one ends at the sheet's edge.
    if over_x > FIT_TOLERANCE_MM:
        trims.append("grid reaches %.2f mm past the sheet's right edge: width %s -> %s mm"
                     % (over_x, fmt(w), fmt(w - over_x)))
        w -= over_x
        hgap = dx - w if nx > 1 else 0.0
    if over_y > FIT_TOLERANCE_MM:
        trims.append("grid reaches %.2f mm past the sheet's bottom edge: height %s -> %s mm"
                     % (over_y, fmt(h), fmt(h - over_y)))
        h -= over_y
        vgap = dy - h if ny > 1 else 0.0
    if not (w > 0 and h > 0):
        raise LeftOut("labels vanish when trimmed to the sheet")
    return {
        "shape": shape, "radius": radius, "hole": hole, "width": w, "height": h,
        "nx": nx, "ny": ny, "x0": x0, "y0": y0, "hgap": max(hgap, 0.0), "vgap": max(vgap, 0.0),
        "pw": pw, "ph": ph, "paper": paper,
        "waste": label.get("waste") or label.get("x_waste") or "",
    }


def categories(t):
    out = []
    for m in t:
        if local(m.tag) == "Meta" and m.get("category"):
            out.append(m.get("category"))
    return out


def layout_group(cats, shape):
    for c in cats:
        if c != "label":
            return c.replace("-", "_")
    return shape + "_label"


def product_element(vendor, part, description, cats, g):
    p = ET.Element("product", {
        "productID": part,
        "layoutGroup": layout_group(cats, g["shape"]),
        "units": "mm",
    })
    name = ET.SubElement(p, "prodName", {"nameGroup": vendor})
    ET.SubElement(name, "locName", {"locale": "all"}).text = part
    desc = ET.SubElement(p, "description", {"descGroup": description or part})
    ET.SubElement(desc, "locDesc", {"locale": "all"}).text = description or part
    panel = {
        "masterID": "0",
        "width": fmt(g["width"]),
        "height": fmt(g["height"]),
        "shape": g["shape"],
        "bottomMargin": "0", "leftMargin": "0", "rightMargin": "0", "topMargin": "0",
        "centerContent": "true",
    }
    if g["shape"] == "roundedRectangle":
        panel["cornerRadius"] = fmt(g["radius"])
    if g["shape"] == "cd":
        panel["outerRadius"] = fmt(g["radius"])
        panel["holeRadius"] = fmt(g["hole"])
    ET.SubElement(p, "masterPanel", panel)
    sheet_attrs = {"width": fmt(g["pw"]), "height": fmt(g["ph"])}
    if g["paper"]:
        sheet_attrs["paper"] = g["paper"]
    sheet = ET.SubElement(p, "sheet", sheet_attrs)
    ET.SubElement(sheet, "sheetGrid", {
        "cellWidth": fmt(g["width"]),
        "cellHeight": fmt(g["height"]),
        "numAcross": str(g["nx"]),
        "numDown": str(g["ny"]),
        "posX": fmt(g["x0"]),
        "posY": fmt(g["y0"]),
        "horizGap": fmt(g["hgap"]),
        "vertGap": fmt(g["vgap"]),
    })
    return p


def indent(elem, level=0):
    pad = "\n" + "  " * level
    if len(elem):
        if not (elem.text or "").strip():
            elem.text = pad + "  "
        for child in elem:
            indent(child, level + 1)
        if not (child.tail or "").strip():
            child.tail = pad
    if level and not (elem.tail or "").strip():
        elem.tail = pad


def vendor_file_name(vendor):
    return re.sub(r'[/\\?%*|"<>:]', "_", vendor).strip() + ".xml"


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    source, output = argv[1], argv[2]
    papers = read_paper_sizes(os.path.join(source, "paper-sizes.xml"))
    vendor_names = read_vendor_names(os.path.join(source, "vendors.xml"))
    templates = read_templates(source)
    by_key = {(t.get("brand"), t.get("part")): t for _, t in templates}

    products = collections.OrderedDict()   # vendor -> [elements]
    left_out = []
    trimmed = []                           # (vendor, part, [what was trimmed])
    for file_name, t in templates:
        brand, part = t.get("brand"), t.get("part")
        vendor = vendor_names.get((brand or "").lower(), brand)
        try:
            if not brand or not part:
                raise LeftOut("no vendor or product name")
            base = t
            seen = set()
            while base.get("equiv"):
                key = (brand, base.get("equiv"))
                if key in seen or key not in by_key:
                    raise LeftOut("equivalent of unknown product %r" % base.get("equiv"))
                seen.add(key)
                base = by_key[key]
            trims = []
            g = geometry(base, papers, trims)
            if trims:
                trimmed.append((vendor, part, trims))
            description = base.get("_description") or base.get("description") or ""
            products.setdefault(vendor, []).append(
                product_element(vendor, part, description, categories(base), g))
        except LeftOut as why:
            left_out.append((vendor or "?", part or "?", str(why)))

    os.makedirs(output, exist_ok=True)
    for name in os.listdir(output):
        if name.endswith(".xml"):
            os.remove(os.path.join(output, name))
    total = 0
    for vendor in sorted(products, key=str.lower):
        root = ET.Element("labelSheets", {"vendor": vendor})
        for p in products[vendor]:
            root.append(p)
        total += len(products[vendor])
        indent(root)
        body = ET.tostring(root, encoding="unicode")
        with open(os.path.join(output, vendor_file_name(vendor)), "w", encoding="utf-8",
                  newline="\n") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
            f.write("<!--" + FILE_COMMENT.format(vendor=vendor) + "-->\n")
            f.write(body + "\n")
    shutil.copyfile(os.path.join(source, "COPYRIGHT"), os.path.join(output, "COPYRIGHT"))
    with open(os.path.join(output, "NOTICE"), "w", encoding="utf-8", newline="\n") as f:
        f.write(NOTICE)

    print("%d products of %d vendors written; %d trimmed to fit:" % (total, len(products), len(trimmed)))
    for vendor, part, trims in trimmed:
        print("  - %s %s: %s" % (vendor, part, "; ".join(trims)))
    print("%d templates left out:" % len(left_out))
    reasons = collections.Counter(re.sub(r" \(.*", "", why) for _, _, why in left_out)
    for why, n in reasons.most_common():
        print("  %4d  %s" % (n, why))
    for vendor, part, why in left_out:
        print("  - %s %s: %s" % (vendor, part, why))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

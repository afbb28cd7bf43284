"""Reads DXF files with ezdxf and prints, as one JSON list, what a CAD
program sees in each: the audit's errors and every entity of the model
space with its coordinates."""
import json
import sys

import ezdxf


def entity(e):
    kind = e.dxftype()
    d = {"type": kind}
    if kind == "LINE":
        d["points"] = [list(e.dxf.start)[:2], list(e.dxf.end)[:2]]
    elif kind in ("CIRCLE", "ARC"):
        d["points"] = [list(e.dxf.center)[:2]]
        d["radius"] = e.dxf.radius
        if kind == "ARC":
            d["angles"] = [e.dxf.start_angle, e.dxf.end_angle]
    elif kind == "POLYLINE":
        d["closed"] = e.is_closed
        d["points"] = [list(v.dxf.location)[:2] for v in e.vertices]
    elif kind == "TEXT":
        d["points"] = [list(e.dxf.insert)[:2]]
        d["height"] = e.dxf.height
        d["angles"] = [e.dxf.rotation]
        # Text beyond ASCII travels as \U+XXXX escapes, which CAD programs
        # decode on reading; ezdxf leaves that to the caller.
        d["text"] = ezdxf.decode_dxf_unicode(e.dxf.text)
    return d


def main():
    result = []
    for path in sys.argv[1:]:
        doc = ezdxf.readfile(path)
        auditor = doc.audit()
        result.append({
            "file": path,
            "errors": [str(err.message) for err in auditor.errors],
            "entities": [entity(e) for e in doc.modelspace()],
        })
    json.dump(result, sys.stdout)


main()

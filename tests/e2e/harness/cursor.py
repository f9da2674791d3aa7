"""The cursor the server shows, with its name, through XFixes.

python-xlib's get_cursor_image leaves out the name, by which the arrow and
the four-headed arrow are told apart most surely; the request that gives
both is small enough to spell out here with python-xlib's own protocol
definitions."""

import struct

from Xlib.ext import xfixes
from Xlib.protocol import rq

GET_CURSOR_IMAGE_AND_NAME = 25  # XFixes 2 and later


class _GetCursorImageAndName(rq.ReplyRequest):
    _request = rq.Struct(rq.Card8("opcode"), rq.Opcode(GET_CURSOR_IMAGE_AND_NAME), rq.RequestLength())
    _reply = rq.Struct(rq.ReplyCode(), rq.Pad(1), rq.Card16("sequence_number"), rq.ReplyLength(),
                       rq.Int16("x"), rq.Int16("y"), rq.Card16("width"), rq.Card16("height"),
                       rq.Card16("xhot"), rq.Card16("yhot"), rq.Card32("cursor_serial"),
                       rq.Card32("name_atom"), rq.Card16("name_length"), rq.Pad(2),
                       # width * height ARGB pixels, then the name's bytes
                       rq.Binary("data"))


def cursor_image(display):
    """(name, opaque pixels) of the cursor the server shows: the name is the
    X cursor font's ("left_ptr" for the arrow, "fleur" for the four-headed
    arrow), and a hidden cursor has no opaque pixel. The display must have
    asked for XFixes 2 or later (xfixes_query_version)."""
    reply = _GetCursorImageAndName(display=display.display,
                                   opcode=display.display.get_extension_major(xfixes.extname))
    pixels = reply.width * reply.height
    argb = struct.unpack("=%dI" % pixels, reply.data[:4 * pixels])
    name = reply.data[4 * pixels:4 * pixels + reply.name_length]
    return name.decode(errors="replace"), sum(1 for p in argb if p >> 24)

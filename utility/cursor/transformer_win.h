// The cursor image transformer: recolouring and mirroring of static cursors before they are
// installed. Both take a cursor the caller owns and hand back one the caller owns: either a
// new cursor (the argument has then been released with DestroyCursor) or the argument itself,
// unchanged, when the cursor cannot or need not be converted. A null handle comes back null.
#pragma once
#include <windows.h>

// A monochrome cursor becomes a colour cursor of the same shape and hotspot, its opaque white
// in palette entry current.WhtClr and its opaque black in current.BlkClr. A colour cursor, a
// display without colour cursors, or a cursor that is not square from 16 to 256 pixels comes
// back unchanged.
HCURSOR RecolourCursor(HCURSOR source);

// Mirrors mask, colour and hotspot left to right; monochrome stays monochrome.
HCURSOR MirrorCursor(HCURSOR source);

// Whether a cursor's shape (an animation's first frame) is its own mirror image left to right,
// wherever it sits in its square; false where its bits cannot be read. The cursor stays the
// caller's.
bool IsMirrorSymmetric(HCURSOR cursor);

// A new cursor of `newSide` pixels (at least the source's, at most 256) stretched from `source`
// pixel for pixel, its hotspot in the block of its pixel; the source stays the caller's. Null
// when it cannot be made.
HCURSOR EnlargeCursor(HCURSOR source, int newSide);

// The display's format has changed: the palette template is read again at the next recolour.
void ForgetDisplayFormat();

// Whether the display can show colour cursors: the palette template comes back from the
// platform with a colour bitmap.
bool ProbeColourCursors();

namespace transformer_detail {
// The steps behind the two operations, with the template and the cursor-creating call as
// parameters so tests can stand in a monochrome template or a failing creation.
using CreateCursorFunction = HICON (*)(ICONINFO* info);
HCURSOR RecolourWithTemplate(HCURSOR source, HCURSOR paletteTemplate, int whtClr, int blkClr,
                             CreateCursorFunction create);
HCURSOR MirrorWith(HCURSOR source, CreateCursorFunction create);
// The palette template, resource 129 of the program's own module, at its own 32 x 32 whatever
// the desktop's cursor size; kept for the process's life.
HCURSOR LoadPaletteTemplate();
}  // namespace transformer_detail

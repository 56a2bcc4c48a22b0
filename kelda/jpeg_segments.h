// A check of a JPEG file's marker segments before DevIL reads it.
#pragma once

#include <cstddef>
#include <cstdint>

// Whether the bytes start like a JPEG image, every marker segment up to the
// end of the image (or of the bytes) lies wholly inside them, and no frame
// is larger than a picture the importer takes. DevIL's reader loops forever
// when libjpeg asks it to skip past the end of a file, and it allocates
// whatever size a frame header claims, so a file that fails this must never
// reach it.
bool JpegSegmentsFit(const uint8_t* data, size_t size);

// Whether an Adobe APP14 segment stands among the header segments before the
// first scan, as libjpeg looks for one. Four-component pictures that carry it
// store their inks inverted, Photoshop's way.
bool JpegHasAdobeMarker(const uint8_t* data, size_t size);

// Whether the bytes end inside a scan's coded data with no end-of-image
// marker, after scans that code every coefficient of every component of the
// frame to its last bit: only the end of that scan's data and the marker can
// be missing. Whether the coded data is whole only decoding can tell.
bool JpegEndsInFinalScan(const uint8_t* data, size_t size);

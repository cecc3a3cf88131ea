// Saving the live picture at the camera's full resolution.
#pragma once

#include "PictureSampler.h"

#include <wx/gdicmn.h>
#include <wx/string.h>

namespace viewer {

// PNG or JPEG by the file's extension (case ignored); wxBITMAP_TYPE_INVALID otherwise.
wxBitmapType snapshotTypeFor(const wxString& file);

// A file name for a snapshot taken now, in the current folder.
wxString defaultSnapshotName();

// Saves the area of interest (`area`, at the buffer's top-left corner) of the
// camera's current picture, pixel for pixel. False when there is no picture
// or the file cannot be written.
bool saveSnapshot(const wxString& file, Extent area);

// After a failed save: "<file>: <the system's reason>", or the file alone
// when nothing in its place explains it.
wxString snapshotFailure(const wxString& file);

}  // namespace viewer

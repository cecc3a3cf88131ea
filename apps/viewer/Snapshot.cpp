#include "Snapshot.h"

#include "LivePicture.h"
#include "WriteProbe.h"

#include <wx/datetime.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/image.h>

#include <algorithm>
#include <cstring>

namespace viewer {

wxBitmapType snapshotTypeFor(const wxString& file) {
    const wxString extension = wxFileName(file).GetExt().Lower();
    if (extension == "png") return wxBITMAP_TYPE_PNG;
    if (extension == "jpg" || extension == "jpeg") return wxBITMAP_TYPE_JPEG;
    return wxBITMAP_TYPE_INVALID;
}

wxString defaultSnapshotName() { return wxDateTime::Now().Format("snapshot-%Y%m%d-%H%M%S.png"); }

bool saveSnapshot(const wxString& file, Extent area) {
    const wxBitmapType type = snapshotTypeFor(file);
    const host::LivePicture live(*Nimbrel_model::Camera::getInstance());
    if (type == wxBITMAP_TYPE_INVALID || !live.ok()) return false;
    area.width = std::clamp(area.width, 1, live.width());
    area.height = std::clamp(area.height, 1, live.height());
    wxImage image(area.width, area.height, false);
    const std::size_t lineBytes = static_cast<std::size_t>(area.width) * 3;
    for (int y = 0; y < area.height; ++y)
        std::memcpy(image.GetData() + y * lineBytes, live.pixels() + y * live.pitch(), lineBytes);
    if (type == wxBITMAP_TYPE_JPEG) image.SetOption(wxIMAGE_OPTION_QUALITY, 92);
    const bool existed = wxFileExists(file);
    if (image.SaveFile(file, type)) return true;
    if (!existed && wxFileExists(file)) wxRemoveFile(file);  // no half picture left behind
    return false;
}

wxString snapshotFailure(const wxString& file) {
    const host::WriteProblem problem = host::probeWrite(file.utf8_string());
    return problem.error ? file + ": " + wxString::FromUTF8(problem.reason) : file;
}

}  // namespace viewer

#include "app/slide_show_app.h"

#include "framework/window_system.h"
#include "ui/main_dialog.h"

namespace vistello {

// Without its sockets the program says so and ends before any file is read or written.
bool CSlideShowApp::InitInstance(WindowSystem& system, PhotoReader& photos, ImageMaker& images,
                                 ClipMaker* clips, const std::string& placesFile,
                                 const WindowPublishing* publishing, const CipherLoader& cipher,
                                 ThumbnailService* thumbnails) {
    if (!system.StartSockets()) {
        system.OwnerlessMessageBox("Windows sockets initialization failed.", system.AppTitle(),
                                   MsgButtons::Ok, MsgIcon::Exclamation);
        return false;
    }
    CMainDialog dialog;
    dialog.UsePhotoReader(photos);
    dialog.UseImageMaker(images);
    if (clips != nullptr) dialog.UseClipMaker(*clips);
    dialog.UsePlacesFile(placesFile);
    dialog.UseAlbumCipher(cipher);
    if (publishing != nullptr)
        dialog.UsePublishLink(publishing->link, publishing->machine, publishing->manifestFolder);
    if (thumbnails != nullptr) dialog.UseThumbnails(*thumbnails);
    dialog.DoModal(system);
    return false;
}

}  // namespace vistello

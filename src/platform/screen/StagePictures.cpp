#include "platform/screen/StagePictures.h"
#include "platform/screen/Stage.h"

namespace platform {

Picture LoadPicture(const QString& path) { return LoadPicture(path, Stage::instance()->devicePixelRatioF()); }
Picture LoadPictureOrEmpty(const QString& path) { return LoadPictureOrEmpty(path, Stage::instance()->devicePixelRatioF()); }
Picture LoadPictureOrEmpty(const core::PictureFile& picture) {
    return LoadPictureOrEmpty(picture, Stage::instance()->devicePixelRatioF());
}
void readAhead(const QString& path) { readAhead(path, Stage::instance()->devicePixelRatioF()); }

}  // namespace platform

// Pictures as the screens load them: at the stage's scale.
#pragma once
#include "platform/pictures/Picture.h"

namespace platform {

Picture LoadPicture(const QString& path);
Picture LoadPictureOrEmpty(const QString& path);
Picture LoadPictureOrEmpty(const core::PictureFile& picture);
void readAhead(const QString& path);

}  // namespace platform

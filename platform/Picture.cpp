// Pictures in memory: a QImage in 32-bit RGB, from the program's resources or from a caller.
#include "platform/Picture.h"

#include "platform/ProgramResources.h"

#include <QImage>
#include <QString>

namespace lorvenna {

Picture::Picture() : image_(std::make_unique<QImage>()) {}

Picture::Picture(const QImage& image)
    : image_(std::make_unique<QImage>(
          image.isNull() ? QImage() : image.convertToFormat(QImage::Format_RGB32))) {}

Picture::~Picture() = default;

Picture::Picture(const Picture& other) : image_(std::make_unique<QImage>(*other.image_)) {}

Picture& Picture::operator=(const Picture& other) {
    if (this != &other)
        *image_ = *other.image_;
    return *this;
}

Picture Picture::resource(PictureId id) {
    loadProgramResources();
    const QImage image(QStringLiteral(":/pictures/%1.png").arg(static_cast<int>(id)));
    return Picture(image);
}

bool Picture::isNull() const {
    return image_->isNull();
}

int Picture::width() const {
    return image_->width();
}

int Picture::height() const {
    return image_->height();
}

Color Picture::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height())
        return Color{};
    const QRgb rgb = image_->pixel(x, y);
    return Color{static_cast<std::uint8_t>(qRed(rgb)), static_cast<std::uint8_t>(qGreen(rgb)),
                 static_cast<std::uint8_t>(qBlue(rgb))};
}

bool Picture::onlyHolder() const {
    return image_->isDetached();
}

const QImage& Picture::image() const {
    return *image_;
}

} // namespace lorvenna

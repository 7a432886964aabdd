#include "drawscreen/drawn_wheel.h"

#include "rotatingimage/rotating_image.h"

#include <QCryptographicHash>
#include <QFontInfo>

namespace {

// The name its entries go by in the picture cache.
const QString CacheName = QStringLiteral("drawn-wheel");

// What a drawn wheel depends on: its names, the font they are set in as the system finds it,
// and the drawing's own version. Pictures come from files of their own: such a wheel is not
// kept.
QByteArray wheelStamp(const WheelContent& content)
{
    for (const QImage& picture : content.pictures)
        if (!picture.isNull())
            return {};
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayLiteral("drawn wheel 1"));
    hash.addData(QByteArray(qVersion()));
    hash.addData(QFontInfo(QFont(content.fontFamily)).family().toUtf8());
    for (const QString& name : content.names) {
        hash.addData(name.toUtf8());
        hash.addData(QByteArrayLiteral("\n"));
    }
    return hash.result();
}

} // namespace

DrawnWheel::DrawnWheel(RotatingImage* wheel, PictureCache cache)
    : QObject(wheel), wheel_(wheel), cache_(std::move(cache))
{
}

void DrawnWheel::show(const WheelContent& content)
{
    if (shown_ && content == content_)
        return;
    content_ = content;
    shown_ = true;
    wheel_->setPictureMaker(
        [content, count = drawCount_, cache = cache_, stamp = wheelStamp(content)](QSize pixels) {
            QImage kept = cache.find(stamp, CacheName, pixels);
            if (!kept.isNull())
                return kept;
            ++*count;
            QImage drawn = drawWheel(pixels, content);
            cache.store(stamp, CacheName, drawn);
            return drawn;
        });
    wheel_->setAccessibleDescription(describeWheel(content.names));
}

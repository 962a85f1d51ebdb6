#include "PcxImage.h"

#include <QFile>

bool PcxImage::load(const QString& path, bool usetransp)
{
    QFile file(path);
    if (!file.exists() || !file.open(QIODevice::ReadOnly))
        return false;
    return decode(file.readAll(), usetransp);
}

bool PcxImage::decode(const QByteArray&, bool)
{
    return true;
}

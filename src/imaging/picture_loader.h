#pragma once
// The picture loader: any picture file the program reads becomes a TPicture, recognised
// by its content (the name's extension only settles what content cannot).
#include "imaging/picture.h"

#include <QByteArray>
#include <QString>

// Both throw EPictureError with a reason fit for the user when the file cannot be read
// as a picture; nothing else is affected.
TPicture LoadPictureFromFile(const QString& path);
TPicture LoadPictureFromData(const QByteArray& bytes, const QString& fileName = {});

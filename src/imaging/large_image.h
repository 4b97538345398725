#pragma once
#include <QImage>
#include <QSize>

// A new image, uninitialised like QImage(size, format). One of half a megabyte or more
// takes its memory in huge pages where the system offers them: the first drawing on a
// fresh page image otherwise spends most of its time with the kernel handing the memory
// over 4 KB at a time, which on a virtual machine costs more than the drawing itself.
QImage NewLargeImage(QSize size, QImage::Format format);

// A copy of part of an image, as QImage::copy gives, made with NewLargeImage.
QImage CopyLargeImage(const QImage& image, const QRect& rect);

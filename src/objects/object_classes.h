#pragma once
#include "objects/graphic_control.h"
#include "stream/component_record.h"

#include <QByteArray>
#include <QList>

// The classes whose records the object stream can read: each registers its stream name,
// a factory (creating the object on a parent) and the readers of its properties. The
// writer is the class's WriteProperties. Registering a name again replaces the entry,
// so a class that comes later takes over from the stand-in that kept its records.
using TObjectClassRegistry = TClassRegistry<TGGraphicControl, QWidget*>;
TObjectClassRegistry& objectClasses();

template <class T>
void RegisterObjectClass(const QByteArray& streamName, TPropertySet<T> properties)
{
    objectClasses().registerClass<T>(
        streamName, std::function<T*(QWidget*)>([](QWidget* parent) { return new T(parent); }),
        std::move(properties));
}

// Registers a class whose records are kept as stored (see StoredObject).
void RegisterStoredObjectClass(const QByteArray& streamName);

// The five classes a calendar page reads: the label, the rich-text label and the image,
// and stand-ins for those not built yet. Safe to call more than once.
void RegisterStandardObjectClasses();

#include "object_classes.h"

#include "objects/image.h"
#include "objects/p_label.h"
#include "objects/p_rich_base_label.h"
#include "objects/stored_object.h"

TObjectClassRegistry& objectClasses()
{
    static TObjectClassRegistry registry;
    return registry;
}

void RegisterStoredObjectClass(const QByteArray& streamName)
{
    // Every property is taken from the record's bytes once it is read, so none has a
    // reader here: the registry skips each value.
    objectClasses().registerClass<StoredObject>(
        streamName,
        std::function<StoredObject*(QWidget*)>(
            [streamName](QWidget* parent) { return new StoredObject(streamName, parent); }),
        TPropertySet<StoredObject>());
}

void RegisterStandardObjectClasses()
{
    // The order the calendar page registered them in; the stand-ins give way when their
    // class is registered for real.
    RegisterObjectClass<TGImage>("TGImage", TGImage::Properties());
    RegisterObjectClass<TGPRichBaseLabel>("TGPRichBaseLabel", TGPRichBaseLabel::Properties());
    if (!objectClasses().isRegistered("TGSuperText"))
        RegisterStoredObjectClass("TGSuperText");
    RegisterObjectClass<TGPLabel>("TGPLabel", TGPLabel::Properties());
    if (!objectClasses().isRegistered("TGFlatCalendar"))
        RegisterStoredObjectClass("TGFlatCalendar");
}

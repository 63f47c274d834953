#pragma once
// The Classes group of the class library: TObject, TPersistent, TList,
// TStrings, TStringList, TStream, TFileStream, TMemoryStream, TComponent,
// TfsXMLItem and TfsXMLDocument, the file mode and seek origin constants,
// and TDuplicates. One registering party.

#include "script/binding/registration_owner.h"

namespace script {

class TfsClassVariable;

class TfsClassesGroup : public TfsRegistrationOwner {
public:
    explicit TfsClassesGroup(TfsScript& scope);
    ~TfsClassesGroup() override;
};

namespace library {
// The XML classes (a part of the group, registered by it).
void RegisterXmlClasses(TfsScript& scope);
void UnregisterXmlClasses() noexcept;
} // namespace library

} // namespace script

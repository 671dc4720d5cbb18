// The accessibility layer of the control host: a QAccessible factory that answers for every
// component with what the component tells the host (QOR_Controls.h).
#pragma once

class QObject;

namespace qor {

// Installs the factory once; every host constructor calls it.
void InstallAccessibleFactory();
// Makes sure the object is answered by the factory, not by an interface Qt made before the
// component existed.
void AdoptAccessibleInterface(QObject* object);

} // namespace qor

#include "settings/viewerassociations.h"

#include "platform/errors.h"
#include "platform/registry.h"
#include "platform/sjis.h"

namespace kelvari {

bool RegistryViewerKeys::keyExists(const QByteArray &path) const {
    try {
        return m_registry.keyExists(RegRoot::ClassesRoot, path);
    } catch (const AppError &) {
        return false; // a key that cannot be opened shows as not associated
    }
}

void RegistryViewerKeys::deleteKey(const QByteArray &path) {
    try {
        m_registry.deleteKey(RegRoot::ClassesRoot, path);
    } catch (const AppError &) {
        // What stays behind is a viewer entry the facility may still offer; the
        // keys that follow are what decides the association.
    }
}

void RegistryViewerKeys::writeString(const QByteArray &path, const QByteArray &name,
                                     const QByteArray &text) {
    m_registry.writeString(RegRoot::ClassesRoot, path, name, text);
}

QByteArray ViewerAssociation::extensionKey() const {
    return QByteArrayLiteral("\\QuickView\\") + extension;
}

QByteArray ViewerAssociation::viewerKey() const {
    return extensionKey() + '\\' + kIchitaroViewerId;
}

QByteArray ViewerAssociation::sccViewerKey() const {
    return extensionKey() + '\\' + kSccViewerId;
}

QByteArray ViewerAssociation::sccAddOnKey() const {
    return sccViewerKey() + QByteArrayLiteral("\\QuickViewAddOn");
}

const std::array<ViewerAssociation, kViewerAssociationCount> &viewerAssociations() {
    static const std::array<ViewerAssociation, kViewerAssociationCount> rows{{
        {1, QByteArrayLiteral(".JFW"), {}, {}},
        {2, QByteArrayLiteral(".JVW"), {}, {}},
        {3, QByteArrayLiteral(".JBW"), {}, QByteArrayLiteral("vsjbw.dll")},
        {4, QByteArrayLiteral(".JUW"), QStringLiteral("一太郎Ver.6 定型文書"), {}},
        {5, QByteArrayLiteral(".JAW"), {}, QByteArrayLiteral("vsjaw.dll")},
        {6, QByteArrayLiteral(".JTW"), QStringLiteral("一太郎Ver.5 定型文書"), {}},
    }};
    return rows;
}

QByteArray ichitaroViewerName() {
    return sj(u"Justsystem 一太郎7ﾋﾞｭｰｱ");
}

QByteArray sccViewerName() {
    return QByteArrayLiteral("SCC Quick Viewer");
}

std::array<bool, kViewerAssociationCount> readViewerAssociations(const ViewerKeyStore &keys) {
    std::array<bool, kViewerAssociationCount> ticked{};
    for (const ViewerAssociation &row : viewerAssociations())
        ticked[row.tag - 1] = keys.keyExists(row.viewerKey());
    return ticked;
}

void applyViewerAssociation(ViewerKeyStore &keys, const ViewerAssociation &row, bool ticked) {
    if (ticked) {
        keys.deleteKey(row.sccViewerKey());
        keys.writeString(row.viewerKey(), {}, ichitaroViewerName());
        if (!row.typeName.isEmpty())
            keys.writeString(row.extensionKey(), {}, sj(row.typeName));
        return;
    }
    keys.deleteKey(row.viewerKey());
    if (!row.sccDll.isEmpty()) {
        keys.writeString(row.sccViewerKey(), {}, sccViewerName());
        keys.writeString(row.sccAddOnKey(), QByteArrayLiteral("DllName"), row.sccDll);
    }
}

} // namespace kelvari

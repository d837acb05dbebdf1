#pragma once
// Which viewer the Quick View facility uses for six kinds of Ichitaro documents:
// the Ichitaro 7 viewer, or, for the two oldest formats, the SCC viewer it
// replaced. The association of a kind is a few keys under HKEY_CLASSES_ROOT;
// the rows of one table describe them, and one routine applies any row.

#include <QByteArray>
#include <QString>
#include <array>

namespace kelvari {

class Registry;

// The viewer classes exactly as their owners registered them (case included).
inline constexpr char kIchitaroViewerId[] = "{1c280980-209e-11cf-9718-0020afd806f4}";
inline constexpr char kSccViewerId[] = "{F0F08735-0C36-101B-B086-0020AF07D0F4}";

// The keys under HKEY_CLASSES_ROOT that the associations read and write. Paths
// are absolute from the root, with a leading "\".
class ViewerKeyStore {
public:
    virtual ~ViewerKeyStore() = default;
    // False also when the key cannot be opened.
    virtual bool keyExists(const QByteArray &path) const = 0;
    // Deletes the key with its subkeys; an absent key, or one that cannot be
    // deleted, is passed over.
    virtual void deleteKey(const QByteArray &path) = 0;
    // Creates the key (and its missing parents) and sets the text value `name`
    // (empty: the default value). Throws AppError naming the key or value.
    virtual void writeString(const QByteArray &path, const QByteArray &name,
                             const QByteArray &text) = 0;
};

// The store over HKEY_CLASSES_ROOT of a registry.
class RegistryViewerKeys final : public ViewerKeyStore {
public:
    explicit RegistryViewerKeys(Registry &registry) : m_registry(registry) {}
    bool keyExists(const QByteArray &path) const override;
    void deleteKey(const QByteArray &path) override;
    void writeString(const QByteArray &path, const QByteArray &name,
                     const QByteArray &text) override;

private:
    Registry &m_registry;
};

// One kind of document. Its Tag is the index its check box carries.
struct ViewerAssociation {
    int tag;
    QByteArray extension; // ".JFW", upper case
    // Written as the extension key's default value when ticked; empty: nothing.
    QString typeName;
    // DllName of the SCC viewer given back when unticked; empty: no SCC viewer.
    QByteArray sccDll;

    QByteArray extensionKey() const; // "\QuickView\.JFW"
    QByteArray viewerKey() const;    // extension key + "\" + the Ichitaro viewer
    QByteArray sccViewerKey() const; // extension key + "\" + the SCC viewer
    QByteArray sccAddOnKey() const;  // SCC viewer key + "\QuickViewAddOn"
};

inline constexpr int kViewerAssociationCount = 6;

// The six kinds in Tag order (.JFW, .JVW, .JBW, .JUW, .JAW, .JTW).
const std::array<ViewerAssociation, kViewerAssociationCount> &viewerAssociations();

// The values written: the Ichitaro viewer's name, the SCC viewer's name.
QByteArray ichitaroViewerName();
QByteArray sccViewerName();

// In Tag order: whether each kind uses the Ichitaro viewer now (its viewer key
// can be opened).
std::array<bool, kViewerAssociationCount> readViewerAssociations(const ViewerKeyStore &keys);

// Gives the kind to the Ichitaro viewer (`ticked`) or back to its old viewer.
// Throws AppError when a key or value cannot be written; what was written
// before it stays.
void applyViewerAssociation(ViewerKeyStore &keys, const ViewerAssociation &row, bool ticked);

} // namespace kelvari

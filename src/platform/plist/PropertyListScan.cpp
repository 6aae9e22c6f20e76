#include "platform/plist/PropertyListScan.h"

#include "platform/plist/PropertyList.h"

#include <QXmlStreamReader>

#include <plist/plist.h>

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <vector>

namespace pt {
namespace {

// Entities a document declares are expanded as the scan reads; this bounds what they cost.
constexpr int kEntityExpansionLimit = 65536;
constexpr qsizetype kTrailerSize = 32;
constexpr qsizetype kHeaderSize = 8;

Error malformed()
{
    return Error::withDescription(PropertyList::ErrorDomain, 1, QStringLiteral("The data is not a property list."));
}

Error tooDeep()
{
    return Error::withDescription(PropertyList::ErrorDomain, 1,
                                  QStringLiteral("The property list is nested too deeply."));
}

Error tooLarge()
{
    return Error::withDescription(PropertyList::ErrorDomain, 1,
                                  QStringLiteral("The property list expands into too many values."));
}

// The tags of an XML list, for the scan. The writer leaves control characters in strings as they are, which XML
// does not allow, so every byte outside printable ASCII becomes a blank: markup is all ASCII, and the parser takes
// no tag with such a byte in its name for an array or dictionary. The parser also allows blanks before the XML
// declaration.
QByteArray markup(const QByteArray& data)
{
    const auto isBlank = [](uchar byte) { return byte == ' ' || byte == '\t' || byte == '\n' || byte == '\r'; };
    QByteArray text = data;
    for (char& c : text) {
        const uchar byte = uchar(c);
        if (byte >= 0x80 || (byte < 0x20 && !isBlank(byte)))
            c = ' ';
    }
    qsizetype start = 0;
    while (start < text.size() && isBlank(uchar(text[start])))
        ++start;
    return text.mid(start);
}

// The fixed-layout parts of a binary list, read with every bound checked against the bytes.
class BinaryTable {
public:
    explicit BinaryTable(const QByteArray& data)
        : bytes(reinterpret_cast<const uchar*>(data.constData()))
        , size(quint64(data.size()))
    {
    }

    bool readTrailer()
    {
        if (size < quint64(kHeaderSize + kTrailerSize))
            return false;
        const quint64 trailer = size - kTrailerSize;
        offsetSize = bytes[trailer + 6];
        refSize = bytes[trailer + 7];
        objectCount = number(trailer + 8, 8);
        top = number(trailer + 16, 8);
        tableOffset = number(trailer + 24, 8);
        return offsetSize >= 1 && offsetSize <= 8 && refSize >= 1 && refSize <= 8 && objectCount > 0
               && top < objectCount && tableOffset >= quint64(kHeaderSize) && tableOffset <= trailer
               && objectCount <= (trailer - tableOffset) / offsetSize;
    }

    quint64 objects() const { return objectCount; }
    quint64 topObject() const { return top; }

    struct Container {
        quint64 start = 0; // where its references begin
        quint64 count = 0;
    };

    // The references of object `index` if it is an array, set or dictionary (keys, then values); an object with
    // no offset inside the file is malformed.
    bool container(quint64 index, std::optional<Container>* found) const
    {
        const quint64 offset = number(tableOffset + index * offsetSize, offsetSize);
        found->reset();
        if (offset < quint64(kHeaderSize) || offset >= tableOffset)
            return false;
        const uchar marker = bytes[offset];
        const int type = marker >> 4;
        if (type < 0xa || type > 0xd)
            return true;
        quint64 position = offset + 1;
        quint64 length = marker & 0x0f;
        if (length == 0x0f) {
            if (position >= tableOffset || bytes[position] >> 4 != 1 || (bytes[position] & 0x0f) > 3)
                return false;
            const int width = 1 << (bytes[position] & 0x0f);
            if (position + 1 + width > tableOffset)
                return false;
            length = number(position + 1, width);
            position += 1 + width;
        }
        const quint64 perEntry = type == 0xd ? 2 : 1;
        if (length > (tableOffset - position) / refSize / perEntry)
            return false;
        *found = Container{position, length * perEntry};
        return true;
    }

    quint64 reference(quint64 start, quint64 i) const { return number(start + i * refSize, refSize); }

private:
    const uchar* bytes;
    quint64 size;
    int offsetSize = 0;
    int refSize = 0;
    quint64 objectCount = 0;
    quint64 top = 0;
    quint64 tableOffset = 0;

    quint64 number(quint64 position, int width) const
    {
        quint64 value = 0;
        for (int i = 0; i < width; ++i)
            value = (value << 8) | bytes[position + i];
        return value;
    }
};

} // namespace

Result<void> PropertyListScan::check(const QByteArray& data)
{
    if (plist_is_binary(data.constData(), static_cast<uint32_t>(data.size())))
        return checkBinary(data);
    return checkXml(data);
}

Result<void> PropertyListScan::checkBinary(const QByteArray& data)
{
    BinaryTable table(data);
    if (!table.readTrailer())
        return malformed();
    // Per object: unvisited, on the current path, or done with its height (containers from it down) plus one.
    // Shared objects are walked once; the parser copies them, so the longest path is what it recurses along.
    constexpr uchar kUnvisited = 0;
    constexpr uchar kOnPath = 0xff;
    static_assert(PropertyList::MaximumDepth + 1 < kOnPath);
    std::vector<uchar> state(table.objects(), kUnvisited);
    // Per finished container: how many values it becomes, each reference read as a copy of its own. Every object
    // met is one value at least, so more than the cap of them is refused before this grows past it.
    std::unordered_map<quint64, quint64> values;
    quint64 met = 0;
    struct Frame {
        quint64 index;
        BinaryTable::Container references;
        quint64 next = 0;
        int tallestChild = 0;
        quint64 values = 1;
    };
    std::vector<Frame> path;
    // Hands a finished object's height and values to the container holding it; false once the top object is done.
    auto finished = [&path](int height, quint64 count) {
        if (path.empty())
            return false;
        path.back().tallestChild = std::max(path.back().tallestChild, height);
        path.back().values += count;
        return true;
    };
    std::optional<quint64> pending = table.topObject();
    for (;;) {
        if (pending) {
            const quint64 index = *pending;
            pending.reset();
            if (index >= table.objects())
                return malformed();
            if (state[index] == kOnPath)
                return Error::withDescription(PropertyList::ErrorDomain, 1,
                                              QStringLiteral("The property list refers to itself in a cycle."));
            if (state[index] != kUnvisited) {
                // Only containers have a height; an object without one is a single value.
                if (!finished(state[index] - 1, state[index] == 1 ? 1 : values.at(index)))
                    return {};
                continue;
            }
            if (++met > PropertyList::MaximumValues)
                return tooLarge();
            std::optional<BinaryTable::Container> references;
            if (!table.container(index, &references))
                return malformed();
            if (!references) {
                state[index] = 1;
                if (!finished(0, 1))
                    return {};
                continue;
            }
            if (path.size() >= size_t(PropertyList::MaximumDepth))
                return tooDeep();
            state[index] = kOnPath;
            path.push_back({index, *references});
            continue;
        }
        Frame& frame = path.back();
        // Checked after every member, so no count gets far past the cap (nor near overflowing).
        if (frame.values > PropertyList::MaximumValues)
            return tooLarge();
        if (frame.next < frame.references.count) {
            pending = table.reference(frame.references.start, frame.next++);
            continue;
        }
        const int height = frame.tallestChild + 1;
        if (path.size() - 1 + size_t(height) > size_t(PropertyList::MaximumDepth))
            return tooDeep();
        state[frame.index] = uchar(height + 1);
        values.emplace(frame.index, frame.values);
        const quint64 count = frame.values;
        path.pop_back();
        if (!finished(height, count))
            return {};
    }
}

Result<void> PropertyListScan::checkXml(const QByteArray& data)
{
    QXmlStreamReader reader(markup(data));
    reader.setNamespaceProcessing(false);
    reader.setEntityExpansionLimit(kEntityExpansionLimit);
    int depth = 0;
    while (!reader.atEnd()) {
        const auto token = reader.readNext();
        if (token != QXmlStreamReader::StartElement && token != QXmlStreamReader::EndElement)
            continue;
        const QStringView name = reader.qualifiedName();
        if (name != QLatin1String("array") && name != QLatin1String("dict"))
            continue;
        if (token == QXmlStreamReader::EndElement)
            --depth;
        else if (++depth > PropertyList::MaximumDepth)
            return tooDeep();
    }
    if (reader.hasError())
        return malformed();
    return {};
}

} // namespace pt

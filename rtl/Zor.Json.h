#pragma once

#include "Zor.RtlExport.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

// The JSON object model: TJsonBaseObject, TJsonObject and TJsonArray over an nlohmann ordered
// document, so member order survives a load and a save.
//
// The classes are handles. A handle names a place in a shared document: the document lives as
// long as any handle to it, copying a handle copies the reference, and an object or array taken
// from its parent (O, A, NewO, AddObject, ...) writes through to the parent. Clone makes an
// independent copy; SetO, SetA and Add of an object or array copy their argument in.
// The place is the path of member names and item indexes from the root: removing or inserting
// an earlier item of an array changes which item a handle to a later one names, and a handle
// whose place is gone raises EZORError when it is used. A document is not for use by two
// threads at once.
//
// Typed reads are strict, because readers rely on them to reject a file of the wrong shape:
// a missing member, a member of another JSON type, a fraction where an integer is expected or
// an integer out of range raises EZORError naming the member or item. The reads with a default
// return the default for a member that is missing or null, and raise like the others when the
// member has another type.

namespace zor {

enum class TJsonDataType {
    jdtNone,
    jdtNull,
    jdtString,
    jdtInt,
    jdtLong,
    jdtULong,
    jdtFloat,
    jdtBool,
    jdtArray,
    jdtObject
};

class TJsonObject;
class TJsonArray;

struct TJsonDocument;
struct TJsonValue;

// Integers that int64 holds exactly (not bool, not unsigned 64-bit).
template <class T>
concept TJsonInteger
    = std::is_integral_v<T> && !std::is_same_v<T, bool> && (std::is_signed_v<T> || sizeof(T) < 8);

// A member name, from a QString or from a UTF-8 string literal without a QString on the way.
class QUINDLE_RTL_EXPORT TJsonKey {
public:
    TJsonKey(const char* utf8)
        : fKey(utf8)
    {
    }
    TJsonKey(const QString& key)
        : fKey(key.toStdString())
    {
    }
    const std::string& Utf8() const { return fKey; }

private:
    std::string fKey;
};

class QUINDLE_RTL_EXPORT TJsonBaseObject {
public:
    // The root of a JSON text: an object or an array. A UTF-8 byte-order mark is accepted.
    static TJsonBaseObject Parse(const QString& text);
    static TJsonBaseObject Parse(const QByteArray& utf8);
    static TJsonBaseObject ParseFromFile(const QString& fileName);

    bool IsObject() const { return !fIsArray; }
    bool IsArray() const { return fIsArray; }
    TJsonObject AsObject() const;
    TJsonArray AsArray() const;

    QString ToJSON(bool compact = true) const;
    QByteArray ToUtf8JSON(bool compact = true) const;
    // Indented unless compact, UTF-8 without byte-order mark, through a temporary file: a save
    // that fails leaves an existing file whole.
    void SaveToFile(const QString& fileName, bool compact = false) const;
    // Replaces the content by that of the text or file, which must hold the same kind (object
    // or array) as this handle.
    void FromJSON(const QString& text);
    void FromUtf8JSON(const QByteArray& utf8);
    void LoadFromFile(const QString& fileName);

    int Count() const;
    void Clear();

protected:
    struct TStep {
        std::string key; // member name when index < 0
        int index = -1;
    };

    TJsonBaseObject(std::shared_ptr<zor::TJsonDocument> doc, std::vector<TStep> path, bool isArray);
    TJsonBaseObject(const TJsonBaseObject& parent, TStep step, bool isArray);

    // The container this handle names (the document's object_t or array_t); throws when the
    // place is gone or holds another kind.
    void* Node() const;
    // Invalidates what other handles remember after a change that may move or destroy values.
    void Moved() const;
    // The path from the root, to name values in errors ("Items[2].Points").
    QString Label() const;
    QString Label(const TJsonKey& key) const;
    QString Label(int index) const;

    std::shared_ptr<zor::TJsonDocument> fDoc;
    std::vector<TStep> fPath;
    bool fIsArray = false;

private:
    mutable void* fCache = nullptr;
    mutable uint64_t fCacheEpoch = 0;
};

class QUINDLE_RTL_EXPORT TJsonObject : public TJsonBaseObject {
public:
    // A new empty object in a document of its own.
    TJsonObject();

    static TJsonObject Parse(const QString& text);
    static TJsonObject Parse(const QByteArray& utf8);
    static TJsonObject ParseFromFile(const QString& fileName);

    TJsonObject Clone() const;

    bool Contains(const TJsonKey& key) const;
    // Member name by 0-based position, in document order.
    QString Names(int index) const;
    TJsonDataType Types(const TJsonKey& key) const;
    void Remove(const TJsonKey& key);

    QString S(const TJsonKey& key) const;
    int32_t I(const TJsonKey& key) const;
    int64_t L(const TJsonKey& key) const;
    double F(const TJsonKey& key) const;
    bool B(const TJsonKey& key) const;
    TJsonObject O(const TJsonKey& key) const;
    TJsonArray A(const TJsonKey& key) const;

    QString S(const TJsonKey& key, const QString& defaultValue) const;
    int32_t I(const TJsonKey& key, int32_t defaultValue) const;
    int64_t L(const TJsonKey& key, int64_t defaultValue) const;
    double F(const TJsonKey& key, double defaultValue) const;
    bool B(const TJsonKey& key, bool defaultValue) const;

    // A new member goes after the existing ones; an existing member keeps its place.
    void SetS(const TJsonKey& key, const QString& value);
    void SetI(const TJsonKey& key, int32_t value);
    void SetL(const TJsonKey& key, int64_t value);
    void SetF(const TJsonKey& key, double value); // a number that is not finite raises
    void SetB(const TJsonKey& key, bool value);
    void SetNull(const TJsonKey& key);
    void SetO(const TJsonKey& key, const TJsonObject& value);
    void SetA(const TJsonKey& key, const TJsonArray& value);
    // A new empty object or array under key (replacing any value there), to be filled in place.
    TJsonObject NewO(const TJsonKey& key);
    TJsonArray NewA(const TJsonKey& key);

private:
    friend class TJsonBaseObject;
    friend class TJsonArray;
    using TJsonBaseObject::TJsonBaseObject;
    template <class T> T Get(const TJsonKey& key) const;
    template <class T> T Get(const TJsonKey& key, const T& defaultValue) const;
    void Put(const TJsonKey& key, zor::TJsonValue&& value);
};

class QUINDLE_RTL_EXPORT TJsonArray : public TJsonBaseObject {
public:
    // A new empty array in a document of its own.
    TJsonArray();

    static TJsonArray Parse(const QString& text);
    static TJsonArray Parse(const QByteArray& utf8);
    static TJsonArray ParseFromFile(const QString& fileName);

    TJsonArray Clone() const;

    TJsonDataType Types(int index) const;
    QString S(int index) const;
    int32_t I(int index) const;
    int64_t L(int index) const;
    double F(int index) const;
    bool B(int index) const;
    TJsonObject O(int index) const;
    TJsonArray A(int index) const;

    void SetS(int index, const QString& value);
    void SetI(int index, int32_t value);
    void SetL(int index, int64_t value);
    void SetF(int index, double value);
    void SetB(int index, bool value);

    void Add(const QString& value);
    void Add(const char* utf8) { Add(QString::fromUtf8(utf8)); }
    void Add(bool value);
    void Add(double value); // a number that is not finite raises
    template <zor::TJsonInteger T> void Add(T value) { AddInteger(int64_t(value)); }
    void Add(const TJsonObject& value);
    void Add(const TJsonArray& value);
    void AddNull();
    TJsonObject AddObject();
    TJsonArray AddArray();
    void Delete(int index);

private:
    friend class TJsonBaseObject;
    friend class TJsonObject;
    using TJsonBaseObject::TJsonBaseObject;
    template <class T> T Get(int index) const;
    void Put(int index, zor::TJsonValue&& value);
    void Append(zor::TJsonValue&& value);
    void AddInteger(int64_t value);
};

} // namespace zor

#pragma once
// A small JSON reader for the test data manifest: objects, arrays,
// strings (with \u escapes and surrogate pairs), numbers, booleans, null.

#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

class TJsonValue {
public:
    enum TKind { Null, Bool, Number, String, Array, Object };

    static TJsonValue Parse(const std::string& text);       // throws std::runtime_error
    static TJsonValue ParseFile(const std::string& path);

    TKind Kind() const { return FKind; }
    bool IsNull() const { return FKind == Null; }
    bool IsString() const { return FKind == String; }
    bool IsObject() const { return FKind == Object; }
    bool IsArray() const { return FKind == Array; }
    bool AsBool() const { return FBool; }
    double AsNumber() const { return FNumber; }
    const std::string& AsString() const { return FString; }
    const std::vector<TJsonValue>& Items() const { return FItems; }
    bool Has(const std::string& key) const { return FMembers.count(key) != 0; }
    // Missing members read as null.
    const TJsonValue& operator[](const std::string& key) const;
    const TJsonValue& operator[](size_t index) const { return FItems.at(index); }
    size_t Size() const { return FKind == Array ? FItems.size() : FMembers.size(); }

private:
    friend class TJsonParser;
    TKind FKind = Null;
    bool FBool = false;
    double FNumber = 0;
    std::string FString;
    std::vector<TJsonValue> FItems;
    std::map<std::string, TJsonValue> FMembers;
};

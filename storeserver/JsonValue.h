#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// A small JSON value: enough to build the store's answers with their members in
// a fixed order, and to read requests and answers back in tests.
class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };
    using Member = std::pair<std::string, JsonValue>;

    JsonValue() = default;
    JsonValue(bool value);
    JsonValue(int value);
    JsonValue(int64_t value);
    JsonValue(uint64_t value);
    JsonValue(double value);
    JsonValue(const char* value);
    JsonValue(std::string value);

    static JsonValue object();
    static JsonValue array();
    // Parses a whole text; sets ok to false (and returns null) when it is no valid JSON.
    static JsonValue parse(const std::string& text, bool* ok = nullptr);

    Type type() const { return type_; }
    bool isObject() const { return type_ == Type::Object; }
    bool isString() const { return type_ == Type::String; }
    bool isNumber() const { return type_ == Type::Number; }

    // Object members: set replaces an existing key and keeps its place.
    JsonValue& set(const std::string& key, JsonValue value);
    bool has(const std::string& key) const;
    // Member or array element; a shared null value when missing.
    const JsonValue& operator[](const std::string& key) const;
    const JsonValue& operator[](size_t index) const;
    const std::vector<Member>& members() const { return members_; }

    void append(JsonValue value);
    size_t size() const;

    const std::string& asString() const { return text_; }
    double asNumber() const { return number_; }
    int64_t asInt() const { return static_cast<int64_t>(number_); }
    bool asBool() const { return flag_; }

    std::string dump() const;
    static std::string quote(const std::string& text);

private:
    Type type_ = Type::Null;
    bool flag_ = false;
    double number_ = 0;
    std::string text_;
    std::vector<Member> members_;
    std::vector<JsonValue> items_;
};

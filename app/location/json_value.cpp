#include "location/json_value.h"

#include <cstdint>

namespace snapdesk {

namespace {

constexpr int kMaxDepth = 128;

class JsonParser {
  public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document() {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") {
            at_ = 3;
        }
        JsonValue root;
        if (!value(root, 0)) {
            return std::nullopt;
        }
        skipBlanks();
        if (at_ != text_.size()) {
            return std::nullopt;
        }
        return root;
    }

  private:
    bool value(JsonValue& out, int depth) {
        skipBlanks();
        if (at_ >= text_.size() || depth > kMaxDepth) {
            return false;
        }
        switch (text_[at_]) {
            case '{':
                out.kind = JsonValue::Kind::Object;
                return container(out, '}', depth);
            case '[':
                out.kind = JsonValue::Kind::Array;
                return container(out, ']', depth);
            case '"':
                out.kind = JsonValue::Kind::String;
                return string(out.text);
            case 't':
            case 'f':
                out.kind = JsonValue::Kind::Boolean;
                return literal(text_[at_] == 't' ? "true" : "false", out.text);
            case 'n':
                out.kind = JsonValue::Kind::Null;
                return literal("null", out.text);
            default:
                out.kind = JsonValue::Kind::Number;
                return number(out.text);
        }
    }

    // An object's members or an array's elements, after the opening bracket.
    bool container(JsonValue& out, char close, int depth) {
        const bool object = close == '}';
        ++at_;
        skipBlanks();
        if (at_ < text_.size() && text_[at_] == close) {
            ++at_;
            return true;
        }
        for (;;) {
            JsonValue& item = out.items.emplace_back();
            if (object) {
                skipBlanks();
                if (at_ >= text_.size() || text_[at_] != '"' || !string(item.name)) {
                    return false;
                }
                skipBlanks();
                if (at_ >= text_.size() || text_[at_] != ':') {
                    return false;
                }
                ++at_;
            }
            if (!value(item, depth + 1)) {
                return false;
            }
            skipBlanks();
            if (at_ >= text_.size()) {
                return false;
            }
            const char next = text_[at_++];
            if (next == close) {
                return true;
            }
            if (next != ',') {
                return false;
            }
        }
    }

    bool string(std::string& out) {
        ++at_;  // the opening quote
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (c == '"') {
                return true;
            }
            if (c != '\\') {
                out += c;
                continue;
            }
            if (at_ >= text_.size()) {
                return false;
            }
            const char escape = text_[at_++];
            switch (escape) {
                case 'b':
                    out += '\b';
                    break;
                case 'f':
                    out += '\f';
                    break;
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                case 'u':
                    if (!unicodeEscape(out)) {
                        return false;
                    }
                    break;
                default:
                    out += escape;  // '"', '\\', '/' and the lenient rest
            }
        }
        return false;
    }

    std::optional<std::uint32_t> hex4() {
        if (text_.size() - at_ < 4) {
            return std::nullopt;
        }
        std::uint32_t code = 0;
        for (int k = 0; k < 4; ++k) {
            const char c = text_[at_++];
            code <<= 4;
            if (c >= '0' && c <= '9') {
                code |= static_cast<std::uint32_t>(c - '0');
            } else if (c >= 'a' && c <= 'f') {
                code |= static_cast<std::uint32_t>(c - 'a' + 10);
            } else if (c >= 'A' && c <= 'F') {
                code |= static_cast<std::uint32_t>(c - 'A' + 10);
            } else {
                return std::nullopt;
            }
        }
        return code;
    }

    // "\uXXXX", a surrogate pair joined; a lone surrogate becomes U+FFFD.
    bool unicodeEscape(std::string& out) {
        const auto first = hex4();
        if (!first) {
            return false;
        }
        std::uint32_t code = *first;
        if (code >= 0xD800 && code <= 0xDBFF && text_.substr(at_, 2) == "\\u") {
            const std::size_t mark = at_;
            at_ += 2;
            const auto second = hex4();
            if (second && *second >= 0xDC00 && *second <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (*second - 0xDC00);
            } else {
                at_ = mark;
            }
        }
        if (code >= 0xD800 && code <= 0xDFFF) {
            code = 0xFFFD;
        }
        appendUtf8(out, code);
        return true;
    }

    static void appendUtf8(std::string& out, std::uint32_t code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    bool literal(std::string_view word, std::string& out) {
        if (text_.substr(at_, word.size()) != word) {
            return false;
        }
        at_ += word.size();
        out = word;
        return true;
    }

    bool number(std::string& out) {
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               std::string_view("+-.0123456789eE").find(text_[at_]) != std::string_view::npos) {
            ++at_;
        }
        out = text_.substr(start, at_ - start);
        return at_ > start;
    }

    void skipBlanks() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n')) {
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

}  // namespace

const JsonValue* JsonValue::member(std::string_view memberName) const {
    if (kind != Kind::Object) {
        return nullptr;
    }
    for (const JsonValue& item : items) {
        if (item.name == memberName) {
            return &item;
        }
    }
    return nullptr;
}

const JsonValue* JsonValue::at(std::initializer_list<std::string_view> path) const {
    const JsonValue* current = this;
    for (const std::string_view step : path) {
        if (current == nullptr) {
            return nullptr;
        }
        current = current->member(step);
    }
    return current;
}

std::optional<JsonValue> parseJson(std::string_view text) {
    return JsonParser(text).document();
}

}  // namespace snapdesk

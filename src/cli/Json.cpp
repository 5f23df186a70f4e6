// The tool's JSON records, written by Qt's JSON writer (QtCore), so that every
// text is escaped and every number written as JSON has it.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <cstdio>

#include "cli/Cli.h"

struct TJsonObject::TData {
    QJsonObject fObject;
};

struct TJsonArray::TData {
    QJsonArray fArray;
};

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace

TJsonObject::TJsonObject() : fData(std::make_unique<TData>()) {}
TJsonObject::~TJsonObject() = default;
TJsonObject::TJsonObject(const TJsonObject& other) : fData(std::make_unique<TData>(*other.fData)) {}
TJsonObject& TJsonObject::operator=(const TJsonObject& other) {
    *fData = *other.fData;
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, double value) {
    fData->fObject.insert(FromUtf8(key), value);
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, int64_t value) {
    fData->fObject.insert(FromUtf8(key), qint64(value));
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, bool value) {
    fData->fObject.insert(FromUtf8(key), value);
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, const std::string& value) {
    fData->fObject.insert(FromUtf8(key), FromUtf8(value));
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, const TJsonObject& value) {
    fData->fObject.insert(FromUtf8(key), value.fData->fObject);
    return *this;
}

TJsonObject& TJsonObject::Set(const std::string& key, const TJsonArray& value) {
    fData->fObject.insert(FromUtf8(key), value.fData->fArray);
    return *this;
}

TJsonArray::TJsonArray() : fData(std::make_unique<TData>()) {}
TJsonArray::~TJsonArray() = default;
TJsonArray::TJsonArray(const TJsonArray& other) : fData(std::make_unique<TData>(*other.fData)) {}
TJsonArray& TJsonArray::operator=(const TJsonArray& other) {
    *fData = *other.fData;
    return *this;
}

TJsonArray& TJsonArray::Append(double value) {
    fData->fArray.append(value);
    return *this;
}

TJsonArray& TJsonArray::Append(int64_t value) {
    fData->fArray.append(qint64(value));
    return *this;
}

TJsonArray& TJsonArray::Append(const std::string& value) {
    fData->fArray.append(FromUtf8(value));
    return *this;
}

TJsonArray& TJsonArray::Append(const TJsonObject& value) {
    fData->fArray.append(value.fData->fObject);
    return *this;
}

TJsonArray& TJsonArray::Append(const TJsonArray& value) {
    fData->fArray.append(value.fData->fArray);
    return *this;
}

void PrintJson(const TJsonObject& object, std::FILE* stream) {
    const QByteArray text = QJsonDocument(object.fData->fObject).toJson(QJsonDocument::Indented);
    std::fwrite(text.constData(), 1, size_t(text.size()), stream);
}

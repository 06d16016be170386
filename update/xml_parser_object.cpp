#include "update/xml_parser_object.h"

#include <memory>

namespace update {
namespace {

std::unique_ptr<XmlParserObject> parser;

}  // namespace

XmlParserObject* TheXmlParser() { return parser.get(); }

void CreateXmlParser() { parser = std::make_unique<XmlParserObject>(); }

void ReleaseXmlParser() {
    if (parser) parser->Release();
    parser.reset();
}

}  // namespace update

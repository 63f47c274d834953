#include "viewer/cli/property_path.h"

#include "platform/text/number_text.h"

#include <stdexcept>

namespace tavrin {

namespace {

// The object that holds the last name of the path, and that name.
platform::Ref<platform::Dispatch> holder(platform::Dispatch& root, std::string_view path, std::string_view& name)
{
    platform::Ref<platform::Dispatch> object(&root);
    std::size_t start = 0;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.', start)) {
        std::string_view part = path.substr(start, dot - start);
        if (part.empty())
            throw std::invalid_argument("\"" + std::string(path) + "\" is not a property name");
        platform::Variant v = object->get(part);
        if (!v.dispatch())
            throw std::invalid_argument("\"" + std::string(path.substr(0, dot)) + "\" is not an object");
        object = platform::Ref<platform::Dispatch>(v.dispatch());
        start = dot + 1;
    }
    name = path.substr(start);
    if (name.empty())
        throw std::invalid_argument("\"" + std::string(path) + "\" is not a property name");
    return object;
}

} // namespace

void SetPropertyPath(platform::Dispatch& root, std::string_view path, const platform::Variant& value)
{
    std::string_view name;
    platform::Ref<platform::Dispatch> object = holder(root, path, name);
    object->put(name, value);
}

platform::Variant GetPropertyPath(platform::Dispatch& root, std::string_view path)
{
    std::string_view name;
    platform::Ref<platform::Dispatch> object = holder(root, path, name);
    return object->get(name);
}

std::string PropertyText(const platform::Variant& v)
{
    switch (v.type()) {
    case platform::varDouble: return platform::formatShortest(v.rawDouble());
    case platform::varSingle: return platform::formatShortest(double(float(v.toDouble())));
    case platform::varDispatch: return v.dispatch() ? "(object)" : "(nothing)";
    default: return v.toString();
    }
}

} // namespace tavrin

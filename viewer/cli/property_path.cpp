#include "viewer/cli/property_path.h"

#include "platform/text/number_text.h"

#include <stdexcept>
#include <vector>

namespace tavrin {

namespace {

// A part of the path: a property, or a member called with one whole
// number, as in "Model(2)" or "Light(0)".
platform::Variant member(platform::Dispatch& object, std::string_view part)
{
    std::size_t open = part.find('(');
    if (open == std::string_view::npos || part.back() != ')')
        return object.get(part);
    std::int32_t n = 0;
    if (open == 0 || !platform::parseInt32(part.substr(open + 1, part.size() - open - 2), n))
        throw std::invalid_argument("\"" + std::string(part) + "\" is not a member with a number");
    std::vector<platform::Variant> args{platform::Variant(int(n))};
    return object.invoke(part.substr(0, open), platform::InvokeKind::Method, args);
}

// The object that holds the last name of the path, and that name.
platform::Ref<platform::Dispatch> holder(platform::Dispatch& root, std::string_view path, std::string_view& name)
{
    platform::Ref<platform::Dispatch> object(&root);
    std::size_t start = 0;
    for (std::size_t dot = path.find('.'); dot != std::string_view::npos; dot = path.find('.', start)) {
        std::string_view part = path.substr(start, dot - start);
        if (part.empty())
            throw std::invalid_argument("\"" + std::string(path) + "\" is not a property name");
        platform::Variant v = member(*object, part);
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
    return member(*object, name);
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

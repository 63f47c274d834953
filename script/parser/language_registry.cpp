#include "script/parser/language_registry.h"

#include "platform/text/cp1251.h"
#include "script/script_error.h"
#include "script_grammars.h"

#include <mutex>

namespace script {

namespace {

struct Language {
    std::string name, grammar;
};

struct Registry {
    std::mutex lock;
    std::vector<Language> languages;

    Registry()
    {
        const std::pair<const char*, const char*> builtIn[] = {
            {"BasicScript", "basic_script.xml"},
            {"JScript", "jscript.xml"},
            {"C++Script", "cpp_script.xml"},
            {"PascalScript", "pascal_script.xml"},
        };
        for (const auto& [name, file] : builtIn) {
            auto bytes = script_grammars(file);
            languages.push_back({name, std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size())});
        }
    }

    Language* find(std::string_view name)
    {
        for (Language& l : languages)
            if (platform::equalsIgnoreCaseCp1251(l.name, name))
                return &l;
        return nullptr;
    }
};

Registry& registry()
{
    static Registry r;
    return r;
}

} // namespace

void RegisterLanguage(std::string_view name, std::string_view grammar)
{
    Registry& r = registry();
    std::lock_guard g(r.lock);
    if (!r.find(name))
        r.languages.push_back({std::string(name), std::string(grammar)});
}

std::string GetLanguageGrammar(std::string_view name)
{
    Registry& r = registry();
    std::lock_guard g(r.lock);
    if (Language* l = r.find(name))
        return l->grammar;
    throw ScriptError("Language '" + std::string(name) + "' not found");
}

std::vector<std::string> LanguageNames()
{
    Registry& r = registry();
    std::lock_guard g(r.lock);
    std::vector<std::string> names;
    for (const Language& l : r.languages)
        names.push_back(l.name);
    return names;
}

} // namespace script

#include "script/editor/keyword_list.h"

#include "platform/text/ascii_case.h"

#include <algorithm>
#include <array>
#include <vector>

namespace script::editor {

namespace {

constexpr std::array<std::string_view, 6> kLists = {
    // stPascal
    "and,array,begin,case,const,div,do,downto,else,end,except,finally,for,function,if,in,is,mod,nil,not,of,"
    "or,procedure,program,repeat,shl,shr,string,then,to,try,until,uses,var,while,with,xor",
    // stCpp
    "bool,break,case,char,continue,define,default,delete,do,double,else,except,finally,float,for,if,include,"
    "int,is,new,return,string,switch,try,variant,void,while",
    // stJs
    "break,case,continue,default,delete,do,else,except,finally,for,function,import,in,is,if,new,return,switch,"
    "try,var,while,with",
    // stVB
    "addressof,and,as,byref,byval,case,catch,delete,dim,do,else,elseif,end,endif,exit,finally,for,function,if,"
    "imports,is,loop,mod,new,next,not,or,rem,return,select,set,step,sub,then,to,try,wend,while,with,xor",
    // stSQL
    "active,after,all,alter,and,any,as,asc,ascending,at,auto,base_name,before,begin,between,by,cache,cast,"
    "check,column,commit,committed,computed,conditional,constraint,containing,count,create,current,cursor,"
    "database,debug,declare,default,delete,desc,descending,distinct,do,domain,drop,else,end,entry_point,"
    "escape,exception,execute,exists,exit,external,extract,filter,for,foreign,from,full,function,generator,"
    "grant,group,having,if,in,inactive,index,inner,insert,into,is,isolation,join,key,left,level,like,merge,"
    "names,no,not,null,of,on,only,or,order,outer,parameter,password,plan,position,primary,privileges,"
    "procedure,protected,read,retain,returns,revoke,right,rollback,schema,select,set,shadow,shared,snapshot,"
    "some,suspend,table,then,to,transaction,trigger,uncommitted,union,unique,update,user,using,values,view,"
    "wait,when,where,while,with,work",
    // stText
    "",
};
static_assert(kLists.size() == std::size_t(TSyntaxType::stText) + 1, "one list per syntax type");

// The longest keyword of every list; longer words are never looked up.
constexpr std::size_t kLongestKeyword = 16;

struct SortedWords {
    std::array<std::vector<std::string_view>, kLists.size()> words;
    SortedWords()
    {
        for (std::size_t t = 0; t < kLists.size(); ++t) {
            std::string_view list = kLists[t];
            while (!list.empty()) {
                std::size_t comma = list.find(',');
                words[t].push_back(list.substr(0, comma));
                list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
            }
            std::sort(words[t].begin(), words[t].end());
        }
    }
};

const SortedWords& sortedWords()
{
    static const SortedWords words;
    return words;
}

} // namespace

std::string_view KeywordList(TSyntaxType type) noexcept
{
    return kLists[std::size_t(type)];
}

bool IsKeyword(TSyntaxType type, std::string_view word) noexcept
{
    if (word.empty() || word.size() > kLongestKeyword)
        return false;
    char lower[kLongestKeyword];
    for (std::size_t i = 0; i < word.size(); ++i)
        lower[i] = platform::lowerAscii(word[i]);
    const auto& list = sortedWords().words[std::size_t(type)];
    return std::binary_search(list.begin(), list.end(), std::string_view(lower, word.size()));
}

} // namespace script::editor

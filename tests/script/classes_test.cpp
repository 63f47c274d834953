// The Classes group from scripts: string lists (sorting, duplicates, Find,
// Values and Names, CommaText, files in code page 1251), TList, streams
// and files, components and their owners, the XML classes, and the life of
// the objects scripts create.

#include "tests/script/run_support.h"
#include "tests/test_support.h"

#include "script/binding/object_refs.h"
#include "script/library/string_list.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>

using scripttest::Compile;
using scripttest::RunFor;

TEST(Classes, StringListsSortFindAndKeepDuplicatesAsAsked)
{
    const char* text = R"(
var l: TStringList; s: String; i, at: Integer; found: Boolean;
begin
  l := TStringList.Create;
  l.Add('pear'); l.Add('Apple'); l.Add('banana');
  l.Sorted := True;
  l.Add('cherry');
  l.Add('APPLE');
  for i := 0 to l.Count - 1 do s := s + l[i] + ',';
  found := l.Find('BANANA', at);
  l.Duplicates := dupError;
  try l.Add('pear'); except s := s + 'dup!'; end;
  try l.Insert(0, 'x'); except s := s + 'sorted!'; end;
  l.Free;
end.)";
    scripttest::Program p = Compile(text);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    // Ignoring case; a duplicate of a sorted list is ignored by default.
    EXPECT_EQ(p.Var("s"), "Apple,banana,cherry,pear,dup!sorted!");
    EXPECT_EQ(p.Var("found"), "True");
    EXPECT_EQ(p.Var("at"), "1");
    EXPECT_EQ(RunFor("var l: TStringList; n: Integer; begin l := TStringList.Create; l.Sorted := True; "
                     "l.Duplicates := dupAccept; l.Add('a'); l.Add('a'); n := l.Count; end.",
                     "n"),
              "2");
    EXPECT_EQ(RunFor("var l: TStringList; s: String; begin l := TStringList.Create; l.Add('b'); s := l[5]; end.", "s"),
              "RUNTIME ERROR: List index out of bounds (5)");
}

TEST(Classes, ValuesNamesCommaTextAndText)
{
    const char* text = R"(
var l: TStringList; a, b, c, d, n0, t: String; k: Integer;
begin
  l := TStringList.Create;
  l.Add('width=10');
  l.Add('Height=20');
  l.Values['depth'] := '30';
  l.Values['WIDTH'] := '11';
  a := l.Values['height'];
  b := l.Values['missing'];
  n0 := l.Names[0];
  k := l.IndexOfName('DEPTH');
  l.Values['height'] := '';
  c := l.CommaText;
  l.CommaText := 'one, "two three","say ""hi""" four';
  d := l[1] + '|' + l[2] + '|' + IntToStr(l.Count);
  l.Text := 'x' + Chr(13) + Chr(10) + 'y' + Chr(10) + 'z';
  t := IntToStr(l.Count) + l[2];
end.)";
    scripttest::Program p = Compile(text);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("a"), "20");
    EXPECT_EQ(p.Var("b"), "");
    EXPECT_EQ(p.Var("n0"), "WIDTH"); // a value set by name takes the name as given
    EXPECT_EQ(p.Var("k"), "2");
    EXPECT_EQ(p.Var("c"), "WIDTH=11,depth=30");
    EXPECT_EQ(p.Var("d"), "two three|say \"hi\"|4");
    EXPECT_EQ(p.Var("t"), "3z");
    script::TfsStringList l;
    l.Add("a b");
    l.Add("");
    l.Add("c");
    EXPECT_EQ(l.CommaText(), "\"a b\",\"\",c");
}

TEST(Classes, StringListFilesRoundTripInTheRussianCodePage)
{
    testsupport::TempDir dir;
    // "Привет" and "Ёж" in code page 1251, lines ended by LF and CR LF.
    std::string bytes = "\xCF\xF0\xE8\xE2\xE5\xF2\n\xA8\xE6\r\nlast";
    std::string in = dir.write("in.txt", bytes);
    std::string out = dir.file("out.txt");
    std::string script = "var l: TStringList; n: Integer; first: String; begin l := TStringList.Create; "
                         "l.LoadFromFile('" + in + "'); n := l.Count; first := l[0]; l.Sorted := True; "
                         "l.SaveToFile('" + out + "'); l.Free; end.";
    scripttest::Program p = Compile(script);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "3");
    EXPECT_EQ(p.Var("first"), "\xCF\xF0\xE8\xE2\xE5\xF2");
    // Sorted: Latin first, then Ё before П; CR LF after every line.
    EXPECT_EQ(testsupport::readAll(out), "last\r\n\xA8\xE6\r\n\xCF\xF0\xE8\xE2\xE5\xF2\r\n");
    // Only regular files are read.
    EXPECT_EQ(RunFor("var l: TStringList; begin l := TStringList.Create; l.LoadFromFile('/dev/zero'); end.", "l"),
              "RUNTIME ERROR: Cannot open file \"/dev/zero\": not a regular file");
}

TEST(Classes, Lists)
{
    const char* text = R"(
var l: TList; o: TStringList; s: String; i: Integer;
begin
  l := TList.Create;
  o := TStringList.Create;
  l.Add(10); l.Add(o); l.Insert(0, 5);
  l[2] := 11;
  i := l.IndexOf(11);
  l.Remove(5);
  for i := 0 to l.Count - 1 do s := s + VarToStr(l[i]) + ';';
  s := s + IntToStr(l.IndexOf(99));
  l.Free; o.Free;
end.)";
    EXPECT_EQ(RunFor(text, "s"), "10;11;-1");
}

TEST(Classes, DefaultPropertiesThroughVariables)
{
    // Basic and JavaScript variables are Variants: "[" after one that holds
    // an object reaches the default property of its class, read and written.
    EXPECT_EQ(RunFor("var l = new TStringList; l.Add(\"a\"); l.Add(\"b\"); l[1] = l[0] + \"!\"; var s = l[0] + l[1]; "
                     "delete l;",
                     "s", "JScript"),
              "aa!");
    EXPECT_EQ(RunFor("l = New TStringList\nl.Add(\"x\")\ns = l[0] & \"y\"\nl.Free\n", "s", "BasicScript"), "xy");
    EXPECT_EQ(RunFor("Variant l; string s; { l = new TList; l.Add(7); l[0] = l[0] * 6; s = l[0]; delete l; }", "s",
                     "C++Script"),
              "42");
    EXPECT_EQ(RunFor("var v: Variant; s: String; begin v := TStringList.Create; v.Add('p'); s := v[0]; v.Free; end.", "s"),
              "p");
    // Inside expressions and as by-reference arguments.
    EXPECT_EQ(RunFor("var l = new TStringList; l.Add(\"abc\"); var n = Length(l[0]) + Pos(\"c\", l[0]); l.Free;", "n",
                     "JScript"),
              "6");
    // A class without one, an index out of range, and arrays and strings
    // still indexed as before.
    EXPECT_EQ(RunFor("var m = new TMemoryStream; var s = m[0];", "s", "JScript"),
              "RUNTIME ERROR: Class TMemoryStream does not have a default property");
    EXPECT_EQ(RunFor("var l = new TStringList; var s = l[3];", "s", "JScript"), "RUNTIME ERROR: List index out of bounds (3)");
    EXPECT_EQ(RunFor("var t = \"abc\"; var s = t[2]; var a = VarArrayCreate([0, 2], varInteger); a[2] = 5; s = s + IntToStr(a[2]);",
                     "s", "JScript"),
              "b5");
}

TEST(Classes, StreamsAndFiles)
{
    testsupport::TempDir dir;
    std::string path = dir.file("data.bin");
    std::string script = R"(
var f: TFileStream; m: TMemoryStream; buf, back: String; n, size, pos: Integer;
begin
  f := TFileStream.Create(')" + path + R"(', fmCreate);
  n := f.Write('hello world', 5);
  n := n + f.Write('!', 100);
  f.Free;
  f := TFileStream.Create(')" + path + R"(', fmOpenReadWrite);
  f.Seek(-1, soFromEnd);
  f.Write('?', 1);
  f.Position := 0;
  f.Read(buf, 1000);
  size := f.Size;
  f.Free;
  m := TMemoryStream.Create;
  m.LoadFromFile(')" + path + R"(');
  m.Position := 10;
  m.Write('xy', 2);
  pos := m.Position;
  m.Position := 0;
  m.Read(back, -5);
  m.Read(back, m.Size);
  m.Free;
end.)";
    scripttest::Program p = Compile(script);
    ASSERT_TRUE(p.compiled) << p.error;
    EXPECT_EQ(p.Run(), "");
    EXPECT_EQ(p.Var("n"), "6"); // counts clamped to what the text holds
    EXPECT_EQ(p.Var("buf"), "hello?");
    EXPECT_EQ(p.Var("size"), "6");
    EXPECT_EQ(p.Var("pos"), "12");
    EXPECT_EQ(p.Var("back"), std::string("hello?\0\0\0\0xy", 12));
    EXPECT_EQ(testsupport::readAll(path), "hello?");
    // A stream opened for reading cannot be written; files must exist.
    EXPECT_EQ(RunFor("var f: TFileStream; begin f := TFileStream.Create('" + path + "', fmOpenRead); f.Write('x', 1); end.",
                     "f"),
              "RUNTIME ERROR: Stream write error");
    EXPECT_NE(RunFor("var f: TFileStream; begin f := TFileStream.Create('" + dir.file("none") + "', fmOpenRead); end.",
                     "f")
                  .find("RUNTIME ERROR: Cannot open file"),
              std::string::npos);
    // A string list through a stream.
    EXPECT_EQ(RunFor("var m: TMemoryStream; a, b: TStringList; s: String; begin m := TMemoryStream.Create; "
                     "a := TStringList.Create; a.Add('1'); a.Add('2'); a.SaveToStream(m); m.Position := 0; "
                     "b := TStringList.Create; b.LoadFromStream(m); s := b.CommaText; end.",
                     "s"),
              "1,2");
}

TEST(Classes, AFailedWriteLeavesNothingBehind)
{
    testsupport::TempDir dir;
    std::string target = dir.file("sub");
    ASSERT_EQ(::mkdir(target.c_str(), 0700), 0); // a folder cannot be replaced by a file
    std::string r = RunFor("var f: TFileStream; begin f := TFileStream.Create('" + target +
                               "', fmCreate); f.Write('new', 3); f.Free; end.",
                           "f");
    EXPECT_NE(r.find("RUNTIME ERROR: Cannot create file"), std::string::npos) << r;
    // Only the folder: no temporary file is left beside it.
    int entries = 0;
    if (DIR* d = ::opendir(dir.path().c_str())) {
        while (dirent* e = ::readdir(d))
            entries += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
        ::closedir(d);
    }
    EXPECT_EQ(entries, 1);
}

TEST(Classes, ComponentsGoWithTheirOwner)
{
    const char* text = R"(
var a, b, c: TComponent; n: String;
begin
  a := TComponent.Create(nil);
  b := TComponent.Create(a);
  c := TComponent.Create(b);
  c.Name := 'leaf';
  n := c.Owner.Owner.ClassName + '/' + c.Name;
  a.Free;
  n := n + '/' + VarToStr(b.Tag);
end.)";
    std::size_t before = script::ObjectStore::Count();
    scripttest::Program p = Compile(text);
    ASSERT_TRUE(p.compiled) << p.error;
    // b went with a: its reference is gone.
    EXPECT_EQ(p.Run(), "Invalid object reference");
    EXPECT_EQ(p.Var("n"), "TComponent/leaf");
    EXPECT_EQ(script::ObjectStore::Count(), before);
}

TEST(Classes, WhatAScriptLeavesBehindGoesWithIt)
{
    std::size_t before = script::ObjectStore::Count();
    {
        scripttest::Program p = Compile("var l: TStringList; m: TMemoryStream; begin l := TStringList.Create; "
                                        "m := TMemoryStream.Create; l.Add('x'); end.");
        ASSERT_TRUE(p.compiled);
        EXPECT_EQ(p.Run(), "");
        EXPECT_EQ(script::ObjectStore::Count(), before + 2);
        p.script->Clear();
        EXPECT_EQ(script::ObjectStore::Count(), before);
    }
    // A freed object's reference is refused, never followed.
    EXPECT_EQ(RunFor("var l: TStringList; n: Integer; begin l := TStringList.Create; l.Free; n := l.Count; end.", "n"),
              "RUNTIME ERROR: Invalid object reference");
    EXPECT_EQ(RunFor("var l: TStringList; begin l := nil; l.Free; end.", "l"), "0"); // nil.Free does nothing
    EXPECT_EQ(RunFor("var o: TObject; s: String; begin o := TStringList.Create; s := o.ClassName; end.", "s"),
              "TStringList");
    EXPECT_EQ(RunFor("var o: TObject; b: Boolean; begin o := TMemoryStream.Create; b := o is TStream; end.", "b"),
              "True");
}

TEST(Classes, XmlDocumentsAndElements)
{
    testsupport::TempDir dir;
    std::string path = dir.file("doc.xml");
    std::string script = R"(
var d, e: TfsXMLDocument; root, item, loose: TfsXMLItem; s: String; n: Integer;
begin
  d := TfsXMLDocument.Create;
  root := d.Root;
  root.Name := 'list';
  item := root.Add;
  item.Name := 'item';
  item.Text := 'id="7" name="a&#34;b"';
  loose := TfsXMLItem.Create;
  loose.Name := 'extra';
  root.AddItem(loose);
  n := root.Count;
  s := root[0].Prop('name') + '|' + IntToStr(root.Find('EXTRA')) + '|' + root.FindItem('new').Name;
  d.SaveToFile(')" + path + R"(');
  e := TfsXMLDocument.Create;
  e.LoadFromFile(')" + path + R"(');
  s := s + '|' + e.Root[0].Prop('id') + '|' + IntToStr(e.Root.Count);
  item.Free;
  s := s + '|' + IntToStr(root.Count);
  d.Free;
  n := n + root.Count;
end.)";
    scripttest::Program p = Compile(script);
    ASSERT_TRUE(p.compiled) << p.error;
    // The elements went with their document: the last line refuses root.
    EXPECT_EQ(p.Run(), "Invalid object reference");
    EXPECT_EQ(p.Var("s"), "a\"b|1|new|7|3|2");
    EXPECT_EQ(p.Var("n"), "2");
    // An element cannot be put inside itself; a document's root cannot be
    // freed alone.
    EXPECT_EQ(RunFor("var a, b: TfsXMLItem; begin a := TfsXMLItem.Create; b := a.Add; b.AddItem(a); end.", "a"),
              "RUNTIME ERROR: An element cannot be added to itself or to one of its descendants");
    EXPECT_EQ(RunFor("var d: TfsXMLDocument; begin d := TfsXMLDocument.Create; d.Root.Free; end.", "d"),
              "RUNTIME ERROR: Cannot free an object that the host owns");
}

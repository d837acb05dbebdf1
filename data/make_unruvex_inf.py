#!/usr/bin/env python3
"""Writes UnRuvex.inf, the editor's uninstall script, in Shift-JIS with CR LF.

Run from this folder after changing the lines below; the script is data that
ships beside the editor, so its bytes are generated rather than hand-edited.
"""

LINES = [
    "//Orlin-Uninstaller  Kelvari 2.0b",
    "[Warning]",
    "Kelvari 2.0b をパソコンから削除します。",
    "作成した辞書ファイル(*.jmf)は削除されません。",
    "end;",
    "[DeleteReg]",
    "Uninst=Pomwick2.0b",
    "Inst=Pomwick",
    "Key=HCR\\.jmf",
    "Key=HCR\\JishoMakeFile",
    "end;",
    "[DeleteFile]",
    "Ruvex",
    "Ruvex.exe",
    "Ruvex.hlp",
    "UnRuvex.inf",
    "end;",
]

if __name__ == "__main__":
    with open("UnRuvex.inf", "wb") as out:
        out.write("".join(line + "\r\n" for line in LINES).encode("cp932"))

"""Our programs import only DLLs on Windows' list of known DLLs, which are always taken from the
system folder: any other name in an import table is looked for beside the program first, where a
file of that name unzipped into the same folder (a Downloads folder) would be run."""
import subprocess
import sys

# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs (Windows 10 and 11), and the
# runtime and ntdll, which are never looked for elsewhere.
KNOWN = {"advapi32", "clbcatq", "combase", "comdlg32", "coml2", "difxapi", "gdi32", "gdiplus",
         "imagehlp", "imm32", "kernel32", "msctf", "msvcrt", "normaliz", "nsi", "ole32", "oleaut32",
         "psapi", "rpcrt4", "sechost", "setupapi", "shcore", "shell32", "shlwapi", "user32",
         "wldap32", "ws2_32", "ntdll", "kernelbase"}

failed = False
for exe in sys.argv[2:]:
    dump = subprocess.run([sys.argv[1], "-p", exe], capture_output=True, text=True, check=True).stdout
    names = {line.split("DLL Name:")[1].strip().lower().removesuffix(".dll")
             for line in dump.splitlines() if "DLL Name:" in line}
    unknown = sorted(names - KNOWN)
    print(f"{exe}: {sorted(names)}")
    if unknown:
        print(f"  imports DLLs that are not known DLLs: {unknown}")
        failed = True
sys.exit(1 if failed else 0)

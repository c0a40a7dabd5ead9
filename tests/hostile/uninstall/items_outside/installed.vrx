[Settings]
AppName=Hostile

[Directories]
nbDir=7
0=%UPOUTSIDE%,0,0,Out
1=%OUTSIDEWIN%\folder,1,0,Z
2=%UP%tmp\vandrel-hostile-dir,1,0,Tmp
3=,0,0,
4=,1,0,
5=,2,0,
6=,3,0,

[AddINI]
nbINI=1
0=%UPOUTSIDE%,victim

[Registry]
nbReg=2
0=2,%UPOUTSIDE%,victim,x,0
1=2,..\..\..\..\..,x,y,1

[Files]
nbFiles=7
0=Peskin32.ex_,Peskin32.exe,6,1,1000,0,1,1,100,0,0
1=victim.txt,victim.txt,0,1,0,1,1,0,7,0,0
2=inner.txt,inner.txt,1,1,0,1,1,0,7,0,0
3=x,vandrel-hostile-dir,2,1,0,1,1,0,7,0,0
4=x,%UPOUTSIDE%\victim.exe,3,1,0,1,1,0,7,0,0
5=x,%OUTSIDEWIN%\folder\deep\shared.dll,3,1,0,1,1,0,7,0,1
6=x,\\localhost\share\victim.txt,3,1,0,1,1,0,7,0,0

[SharedFiles]
nb=3
0=%OUTSIDEWIN%\folder\deep\shared.dll
1=C:\%UPOUTSIDE%\folder\deep\shared.dll
2=\\?\%OUTSIDEWIN%\victim.txt

[AddedLinks]
nb=4
0=%OUTSIDEWIN%\victim.txt
1=C:\%UPOUTSIDE%\victim.exe
2=%OUTSIDE%/victim.txt
3=\\localhost\share\victim.lnk

[AddedFolders]
nb=4
0=%OUTSIDEWIN%\folder\deep
1=C:\%UPOUTSIDE%\folder
2=%OUTSIDEWIN%
3=C:\%UP%tmp

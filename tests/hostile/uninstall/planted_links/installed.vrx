[Settings]
AppName=Hostile

[Directories]
nbDir=6
0=data,0,0,Data
1=gone,0,0,Gone
2=,0,0,
3=,1,0,
4=,2,0,
5=,3,0,

[Files]
nbFiles=4
0=Peskin32.ex_,Peskin32.exe,5,1,1000,0,1,1,100,0,0
1=inner.txt,inner.txt,0,1,0,1,1,0,7,0,0
2=victim.txt,victim.txt,2,1,0,1,1,0,7,0,0
3=x,file.txt,1,1,0,1,1,0,7,0,0

[AddedFolders]
nb=2
0=C:\Demo\data
1=C:\Demo\gone

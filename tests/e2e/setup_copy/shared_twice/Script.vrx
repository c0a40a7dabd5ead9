[Settings]
AppName=Shared
RegInfo=0
[Directories]
nbDir=5
0=System,0,0,
1=,0,0,
2=,1,0,
3=,2,0,
4=,3,0,
[AddINI]
nbINI=1
0=Shared Tool,Folder,[0]
[Registry]
nbReg=3
0=2,Ignored,[3]\other.dll,[+]
1=7,Software\Shared Tool,Folder,[0]
2=7,Software\Shared Tool
[Files]
nbFiles=2
0=common.dll,common.dll,0,1,0,1,1,0,%SIZE:Disk1\common.dll%,0,1
1=common.dll,common.dll,0,1,0,1,1,0,%SIZE:Disk1\common.dll%,0,1

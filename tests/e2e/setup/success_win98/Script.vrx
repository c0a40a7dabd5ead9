[Settings]
AppName=Demo
Title=Demo Setup
ShowLicence=1
RegInfo=1
Type=0
[Directories]
nbDir=5
0=docs,0,1,Documentation
1=,0,0,
2=,1,0,
3=,2,0,
4=,3,0,
[Files]
nbFiles=0
[Web]
StartURL=http://tool.example/
0=Docs,http://docs.example/
[End]
0=recorder.exe two words
1=recorder.exe [u]/[c]/[s]

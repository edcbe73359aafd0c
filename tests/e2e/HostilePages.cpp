#include "tests/e2e/HostilePages.hpp"

namespace {

std::string Finish(const std::string& name, int ms) {
    return "<script>setTimeout(function(){document.title='" + name + " done'}," + std::to_string(ms) +
           ")</script>";
}

std::string Out(const std::string& href) {
    return "<a id='out' href='" + href + "' style='display:block;height:150px;background:#8f8'>out</a>";
}

// Every way a page loads something by itself, all at once.
void Loads(const TGameFolder& folder, const std::string& port) {
    const std::string remote = "http://127.0.0.1:" + port + "/";
    const std::string secure = "https://127.0.0.1:" + port + "/";
    const auto attempt = [](const std::string& code) { return "attempt(function(){" + code + "});"; };
    folder.Page(
        "loads",
        "<link rel='preconnect' href='" + remote +
            "'><link rel='dns-prefetch' href='//gorum-dns.invalid/'>"
            "<link rel='prefetch' href='" +
            remote + "prefetch'><link rel='preload' as='image' href='" + remote +
            "preload.png'><link rel='stylesheet' href='" + remote + "style.css'><style>@import url('" +
            remote + "import.css');body{background:url('" + remote + "bg.png')}</style><script src='" +
            remote + "script.js'></script>",
        "<img src='" + remote + "img.png'><img src='" + secure +
            "tls.png'>"
            "<img src='http://gorum-host.invalid/host.png'><iframe src='" +
            remote +
            "frame'></iframe>"
            "<iframe src='" +
            secure +
            "tlsframe'></iframe><iframe src='file:///etc/passwd'></iframe>"
            "<iframe src='file:///etc/'></iframe><object data='" +
            remote +
            "object'></object>"
            "<video src='" +
            remote + "video.webm' autoplay muted></video><audio src='" + remote +
            "audio.ogg' autoplay></audio><form id='f' method='post' action='" + remote +
            "form' target='sink'><input name='a' value='b'></form><iframe name='sink'></iframe>"
            "<script>function attempt(f){try{f()}catch(e){}}" +
            attempt("fetch('" + remote + "fetch').catch(function(){})") +
            attempt("fetch('" + remote + "post',{method:'POST',body:'x'}).catch(function(){})") +
            attempt("fetch('http://gorum-fetch.invalid/').catch(function(){})") +
            attempt("var x=new XMLHttpRequest();x.open('GET','" + remote + "xhr');x.send()") +
            attempt("navigator.sendBeacon('" + remote + "beacon','x')") +
            attempt("new WebSocket('ws://127.0.0.1:" + port + "/ws')") +
            attempt("new EventSource('" + remote + "events')") +
            attempt("new Worker(URL.createObjectURL(new Blob([\"fetch('" + remote + "worker')\"])))") +
            attempt(
                "var c=new AudioContext();var o=c.createOscillator();o.connect(c.destination);o.start()") +
            attempt("navigator.mediaDevices.getUserMedia({audio:true,video:true}).catch(function(){})") +
            attempt("new RTCPeerConnection({iceServers:[{urls:'stun:127.0.0.1:" + port +
                    "'}]}).createDataChannel('x')") +
            attempt("speechSynthesis.speak(new SpeechSynthesisUtterance('x'))") +
            attempt("navigator.geolocation.getCurrentPosition(function(){},function(){})") +
            attempt("document.getElementById('f').submit()") + "</script>" + Finish("loads", 1500));
}

// Every way a script leaves the page, one after another: the guard in the page sees none of these or is
// fooled by them. File locations come last, since in an open view they succeed and end the page.
void Navigations(const TGameFolder& folder, const std::string& port) {
    const std::string remote = "http://127.0.0.1:" + port + "/";
    const auto click = [](const std::string& href) {
        return "function(){var a=document.createElement('a');a.href='" + href + "';a.click()},";
    };
    folder.Page(
        "navigations", "",
        "<a id='plain' href='" + remote + "attached'>a</a><a id='pinged' href='#here' ping='" + remote +
            "ping'>p</a><form id='post' method='post' action='" + remote +
            "formpost'><input name='a' value='b'></form><script>var steps=[" + click(remote + "detached") +
            "function(){var h=document.createElement('div');document.body.appendChild(h);"
            "var r=h.attachShadow({mode:'closed'});r.innerHTML='<a href=\"" +
            remote +
            "shadow\">s</a>';r.querySelector('a').click()},"
            "function(){RegExp.prototype.test=function(){return true};"
            "document.getElementById('plain').click()},"
            "function(){document.getElementById('pinged').click()},"
            "function(){window.open('" +
            remote + "open')}," + click("https://127.0.0.1:" + port + "/tlslink") +
            click("http://gorum-link.invalid/") + "function(){location.replace('" + remote +
            "replace')},"
            "function(){document.getElementById('post').submit()}," +
            click("file:///etc/") +
            "function(){location.href='file:///etc/passwd'}];"
            "var i=0;function next(){if(i<steps.length){try{steps[i++]()}catch(e){}setTimeout(next,150)}"
            "else{document.title='navigations done'}}setTimeout(next,100);</script>");
}

} // namespace

std::vector<std::string> HostilePages(const TGameFolder& folder, int port) {
    const std::string portText = std::to_string(port);
    const std::string remote = "http://127.0.0.1:" + portText + "/";
    Loads(folder, portText);
    Navigations(folder, portText);
    folder.Page("refresh", "<meta http-equiv='refresh' content='0; url=" + remote + "refresh'>",
                Finish("refresh", 800));
    // Real clicks: a plain remote link, one behind a page listener that stops the click on its way down,
    // and one after the page has made every pattern match.
    folder.Page("link", "", Out(remote + "link") + Finish("link", 600));
    folder.Page("capture",
                "<script>window.addEventListener('click',function(e){e.stopPropagation()},true)</script>",
                Out(remote + "capture") + Finish("capture", 600));
    folder.Page("regexp", "<script>RegExp.prototype.test=function(){return true}</script>",
                Out(remote + "regexp") + Finish("regexp", 600));
    std::vector<std::string> pages;
    for (const char* name : {"loads", "navigations", "refresh", "link", "capture", "regexp"})
        pages.push_back(std::string("content/html/") + name + ".html");
    return pages;
}

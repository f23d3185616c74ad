#include <gtest/gtest.h>

#include "ui/ProgramDetailsText.h"

namespace torvik {
namespace {

const std::wstring kPage = L"https://site.example/program.aspx?id=";

TEST(ProgramDetailsTextTest, AFullReplyFillsEveryControl) {
    const std::vector<std::wstring> reply = {
        L"[community_notes]",
        L" Alice, 2026-12-11 13:05, tags: beta >>> Works well<br>after the update ",
        L"Bob>>>short",
        L"[product_url]",
        L"http://example.org/app/",
        L"[download_url]",
        L"https://example.org/app/get",
        L"[filehippo_url]",
        L"http://hippo.example/app",
        L"[filehippo_version]",
        L"2.1",
        L"[program_id_enc]",
        L"17",
        L"[new_versions]",
        L"2 users have 2.0.0 build:0",
        L"1 users have 1.9.0 build:0",
        L"[popularity]",
        L"3 users",
    };
    const ProgramDetailsTexts texts = ReadProgramDetails(reply, kPage);
    EXPECT_EQ(texts.comments, L"Alice, 2026-12-11 13:05, tags: beta\r\nWorks well\r\nafter the "
                              L"update\r\n---\r\nBob\r\nshort\r\n---");
    EXPECT_EQ(texts.productUrl, L"http://example.org/app/");
    EXPECT_EQ(texts.productLink, L"<a href=><u>example.org/app");
    // Only "http://" leaves the display form.
    EXPECT_EQ(texts.downloadLink, L"<a href=><u>https://example.org/app/get");
    EXPECT_EQ(texts.fileHippoUrl, L"http://hippo.example/app");
    EXPECT_EQ(texts.fileHippoLink, L"<a href=><u>hippo.example/app");
    EXPECT_EQ(texts.fileHippoVersion, L"2.1");
    EXPECT_EQ(texts.programPageUrl, kPage + L"17");
    EXPECT_EQ(texts.programPageLink, L"<a href=><u>" + kPage + L"17");
    EXPECT_EQ(texts.newVersions, L"2 users have 2.0.0 build:0\r\n1 users have 1.9.0 build:0");
    EXPECT_EQ(texts.popularity, L"3 users");
}

TEST(ProgramDetailsTextTest, MissingSectionsShowTheNothingFoundTexts) {
    // An error page: the fetch is not screened, so it simply has no sections.
    for (const auto& reply : std::vector<std::vector<std::wstring>>{
             {}, {L"<html><title>Server Error</title></html>"}, {L"[community_notes]", L"  "}}) {
        const ProgramDetailsTexts texts = ReadProgramDetails(reply, kPage);
        EXPECT_EQ(texts.comments, L"<no comments found>");
        EXPECT_EQ(texts.productLink, L"please submit a url");
        EXPECT_EQ(texts.downloadLink, L"please submit a url");
        EXPECT_EQ(texts.newVersions, L"<no new version found from the community>");
        EXPECT_EQ(texts.programPageUrl, L"") << "no id, no page to open";
        EXPECT_EQ(texts.productUrl, L"");
        EXPECT_EQ(texts.popularity, L"");
    }
}

TEST(ProgramDetailsTextTest, ANoteWithoutSeparatorIsATextWithoutHeading) {
    const ProgramDetailsTexts texts = ReadProgramDetails(
        {L"[community_notes]", L"just a text<br>on two lines", L"Carol >>> text >>> more"}, kPage);
    EXPECT_EQ(texts.comments, L"just a text\r\non two lines\r\n---\r\nCarol\r\ntext\r\n---");
}

TEST(ProgramDetailsTextTest, TheDownloadingPlaceholders) {
    const ProgramDetailsTexts texts = DownloadingDetailsTexts();
    EXPECT_EQ(texts.comments, L"-=downloading..=-");
    EXPECT_EQ(texts.productLink, L"-=downloading..=-");
    ProgramDetailsTexts rest = texts;
    rest.comments.clear();
    rest.productLink.clear();
    EXPECT_EQ(rest, ProgramDetailsTexts{});
}

} // namespace
} // namespace torvik
